// The main window on a field laptop: the tab captions whole at the desktop
// font, every control reachable on a small screen, keys and the Tab order of
// the numbered steps.
#include "exchange/monitor_form.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
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
    EXPECT_EQ(Relcon4->size(), QSize(672, 729)) << "the pages' own size at the default font";
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

TEST(DesktopFit, OnALaptopScreenEveryControlOfEveryPageCanBeReached) {
    Windows w;
    const QMargins frame(1, 30, 1, 1);
    // A large screen keeps the pages' size; 1366x768 less a 32 px panel cannot.
    Relcon4->FitToScreen(QRect(0, 0, 1920, 1050), frame);
    EXPECT_EQ(Relcon4->size(), QSize(672, 729));
    const QRect laptop(0, 0, 1366, 768 - 32);
    Relcon4->FitToScreen(laptop, frame);
    EXPECT_TRUE(laptop.contains(QRect(Relcon4->pos(), Relcon4->size().grownBy(frame))));
    QTabWidget* tabs = Relcon4->PageControl1;
    QStringList unreachable;
    int controls = 0;
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        for (QWidget* control : tabs->currentWidget()->findChildren<QWidget*>()) {
            if (!isControl(control) || !control->isVisibleTo(Relcon4))
                continue;
            ++controls;
            Relcon4->PagesArea->ensureWidgetVisible(control, 0, 0);
            const QRect at(control->mapTo(Relcon4, QPoint(0, 0)), control->size());
            if (!Relcon4->rect().contains(at))
                unreachable << tabs->tabText(page) + QLatin1Char('/') + control->objectName();
        }
    }
    EXPECT_GT(controls, 300);
    EXPECT_EQ(unreachable.join(QStringLiteral(", ")).toStdString(), "");
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
    };
    const Case cases[] = {
        {0, Qt::CTRL | Qt::Key_O, false, 0}, // the mode page's file key, on another page
        {1, Qt::CTRL | Qt::Key_O, false, 1}, // "Загрузить из файла"
        {4, Qt::Key_F3, true, 1},            // "Лог" from any page
    };
    for (const Case& c : cases) {
        MonitorForm->hide();
        Relcon4->PageControl1->setCurrentIndex(c.page);
        ASSERT_TRUE(activate());
        QTest::keyClick(Relcon4, c.key.key(), c.key.keyboardModifiers());
        EXPECT_TRUE(testenv::WaitFor([&] {
            return user.fileDialogDirs.size() == c.fileDialogsSoFar &&
                   MonitorForm->isVisible() == c.logShown;
        })) << c.page;
    }
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
