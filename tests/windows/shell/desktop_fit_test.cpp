// The main window on a field laptop: the tab captions whole at the desktop
// font, every control reachable on a small screen, keys and the Tab order of
// the numbered steps.
#include "exchange/monitor_form.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"
#include "support/recording_interaction.h"
#include "support/test_env.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct Windows {
    Windows() { CreateAppWindows(false); }
    ~Windows() { DestroyAppWindows(); }
};

bool isControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QLabel*>(w);
}

} // namespace

TEST(DesktopFit, AllFiveTabCaptionsShowWholeAtTheDesktopFont) {
    Windows w;
    EXPECT_EQ(Relcon4->size(), QSize(672, 729 + Relcon4->WhereBar->sizeHint().height()))
        << "the pages' own size at the default font";
    QTabBar* bar = Relcon4->PageControl1->tabBar();
    ASSERT_EQ(bar->count(), 5);
    for (int i = 0; i < bar->count(); ++i) {
        const QRect tab = bar->tabRect(i);
        EXPECT_TRUE(bar->rect().contains(tab)) << bar->tabText(i).toStdString();
        EXPECT_GT(tab.width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i)))
            << bar->tabText(i).toStdString();
    }
    for (const QToolButton* arrow : bar->findChildren<QToolButton*>())
        EXPECT_FALSE(arrow->isVisible()) << "scroll buttons shown";
}

// Scrolls every scroll area between control and the window so it shows.
void Reveal(QWidget* control) {
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(w))
            area->ensureWidgetVisible(control, 0, 0);
}

int SmallestHeight(const QWidget* control) {
    return qobject_cast<const QLabel*>(control) ? 12 : 14;
}

// On a large screen, on a laptop less a panel, and on a laptop less the
// Windows taskbar with a title bar: every page lays out without two visible
// controls on top of each other, none shorter than its text needs, and each
// can be scrolled into the window.
TEST(DesktopFit, EveryPageIsLegibleAndReachableAtThreeScreenSizes) {
    Windows w;
    const struct {
        const char* name;
        QRect available;
        QMargins frame;
    } screens[] = {
        {"1280x1024", QRect(0, 0, 1280, 1024 - 32), QMargins(1, 30, 1, 1)},
        {"1366x768 less 32", QRect(0, 0, 1366, 768 - 32), QMargins(1, 30, 1, 1)},
        {"1366x768 less 48", QRect(0, 0, 1366, 768 - 48), QMargins(1, 32, 1, 1)},
    };
    QTabWidget* tabs = Relcon4->PageControl1;
    Relcon4->show();
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.name);
        Relcon4->FitToScreen(screen.available, screen.frame);
        // The window's own rectangle with the frame round it: the frame's
        // position is known only once a window manager has framed it.
        EXPECT_TRUE(screen.available.contains(Relcon4->geometry().marginsAdded(screen.frame)));
        EXPECT_LE(Relcon4->minimumSize().width(), 640);
        EXPECT_LE(Relcon4->minimumSize().height(), 480);
        QStringList faults;
        int controls = 0;
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QApplication::processEvents();
            const QString tab = tabs->tabText(page) + QLatin1Char('/');
            QList<QWidget*> shown;
            for (QWidget* control : tabs->currentWidget()->findChildren<QWidget*>())
                if (isControl(control) && control->isVisibleTo(Relcon4))
                    shown << control;
            controls += shown.size();
            for (QWidget* control : shown) {
                if (control->height() < SmallestHeight(control))
                    faults << tab + control->objectName() +
                                  QStringLiteral(" %1 px high").arg(control->height());
                Reveal(control);
                const QRect at(control->mapTo(Relcon4, QPoint(0, 0)), control->size());
                if (!Relcon4->rect().contains(at))
                    faults << tab + control->objectName() + QStringLiteral(" out of reach");
            }
            const QWidget* root = tabs->currentWidget();
            for (int a = 0; a < shown.size(); ++a)
                for (int b = a + 1; b < shown.size(); ++b) {
                    if (shown[a]->isAncestorOf(shown[b]) || shown[b]->isAncestorOf(shown[a]))
                        continue;
                    const QRect ra(shown[a]->mapTo(root, QPoint(0, 0)), shown[a]->size());
                    const QRect rb(shown[b]->mapTo(root, QPoint(0, 0)), shown[b]->size());
                    if (ra.intersects(rb))
                        faults << tab + shown[a]->objectName() + QStringLiteral(" over ") +
                                      shown[b]->objectName();
                }
        }
        EXPECT_GT(controls, 300);
        EXPECT_EQ(faults.join(QStringLiteral(", ")).toStdString(), "");
    }
}

TEST(DesktopFit, TabFollowsTheStepsAndKeysActOnThePageShown) {
    RecordingInteraction user;
    Windows w;
    // Enabled as activation would, without loading settings a later test would find.
    Relcon4->setEnabled(true);
    const auto activate = [] {
        QApplication::setActiveWindow(Relcon4);
        return testenv::WaitFor([] { return QApplication::activeWindow() == Relcon4; });
    };
    ASSERT_TRUE(activate());
    Relcon4->Button1->setFocus();
    // Write and Flash stay disabled until a read: Tab passes them by.
    const QStringList steps{"Button1",      "LogButton",     "ParamComButton",
                            "RdDataButton", "RestartButton", "RdErrButton"};
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < steps.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, steps);

    // A button's key presses it as a click would (animated), so each case waits.
    struct Case {
        int page;
        QKeyCombination key;
        bool logShown;
        std::size_t fileDialogsSoFar;
        std::size_t messagesSoFar;
    };
    const Case cases[] = {
        {0, Qt::CTRL | Qt::Key_O, false, 0, 0}, // the mode page's file key, on another page
        {1, Qt::CTRL | Qt::Key_O, false, 1, 0}, // "Загрузить из файла"
        {1, Qt::Key_F5, false, 1, 1}, // "Считать данные" where the technician edits: no port yet
        {4, Qt::Key_F3, true, 1, 1}, // "Лог" from any page
    };
    for (const Case& c : cases) {
        MonitorForm->hide();
        Relcon4->PageControl1->setCurrentIndex(c.page);
        ASSERT_TRUE(activate());
        QTest::keyClick(Relcon4, c.key.key(), c.key.keyboardModifiers());
        EXPECT_TRUE(testenv::WaitFor([&] {
            return user.fileDialogDirs.size() == c.fileDialogsSoFar &&
                   user.messages.size() == c.messagesSoFar &&
                   MonitorForm->isVisible() == c.logShown;
        })) << c.page
            << " " << c.key.key();
    }
    // F3 left the log window with the focus; Escape closes it as it closes the others.
    ASSERT_TRUE(testenv::WaitFor([] { return QApplication::activeWindow() == MonitorForm; }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(testenv::WaitFor([] { return !MonitorForm->isVisible(); }));
}

TEST(DesktopFit, HintsWhereACaptionDoesNotSay) {
    Windows w;
    const std::pair<const char*, const char*> hints[] = {
        {"K1_M1_ToggleSwitch", "Уровень сигнала"},
        {"C3_M2_ToggleSwitch", "Уровень сигнала"},
        {"PreSendPauseItem0", ": 5 мс"},
        {"PreSendPauseItem3", ": 100 мс"},
        {"PreSendPauseItem4", "от 101 до 30000 мс"},
        {"DebugLogCheckBox", "серые строки"},
        {"CmdLogCheckBox", "запрос и ответ"},
    };
    for (const auto& [name, words] : hints) {
        const QWidget* control = Relcon4->findChild<QWidget*>(QLatin1String(name));
        ASSERT_TRUE(control) << name;
        EXPECT_TRUE(control->toolTip().contains(QString::fromUtf8(words))) << name;
    }
}
