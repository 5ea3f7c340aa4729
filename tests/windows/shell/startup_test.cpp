#include "devices/qv4m/stat_err_form.h"
#include "exchange/monitor_form.h"
#include "port/case_com_form.h"
#include "port/param_port_form.h"
#include "port/status_com_form.h"
#include "shell/app_globals.h"
#include "shell/app_windows.h"
#include "shell/help_window.h"
#include "shell/relcon4_window.h"
#include "shell/start_form.h"
#include "shell/where_bar.h"
#include "support/recording_interaction.h"
#include "support/test_env.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Windows {
    explicit Windows(bool splash) { CreateAppWindows(splash); }
    ~Windows() { DestroyAppWindows(); }
};

} // namespace

TEST(Startup, WindowsCaptionsAndSizes) {
    Windows w(false);
    ASSERT_TRUE(Relcon4 && StartForm && MonitorForm && ParamPortForm && StatusCOMForm &&
                BoxMessage && CaseComForm && StatErrForm);
    EXPECT_EQ(Relcon4->windowTitle(), QStringLiteral("Relcon4 1.18"));
    EXPECT_EQ(Relcon4->size(), QSize(672, 729 + Relcon4->WhereBar->sizeHint().height()));
    EXPECT_FALSE(Relcon4->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Relcon4->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(Relcon4->isVisible());
    EXPECT_FALSE(Relcon4->isEnabled()) << "created disabled";
    EXPECT_EQ(StartForm->windowTitle(), QStringLiteral("Запуск программы"));
    EXPECT_EQ(StartForm->size(), QSize(662, 332));
    EXPECT_EQ(MonitorForm->windowTitle(), QStringLiteral("Лог событий"));
    EXPECT_EQ(ParamPortForm->windowTitle(), QStringLiteral("Параметры обмена по СОМ-порту"));
    EXPECT_EQ(StatusCOMForm->windowTitle(), QStringLiteral("Поиск СОМ-портов"));
    EXPECT_EQ(CaseComForm->windowTitle(), QStringLiteral("Выбор СОМ-порта"));
    EXPECT_EQ(StatErrForm->windowTitle(), QStringLiteral("Текущие статусы и ошибки"));

    auto* tabs = Relcon4->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    ASSERT_TRUE(tabs);
    const QStringList names{"TabSheet1", "TabSheet3", "TabSheet6", "TabSheet2", "TabSheet4"};
    const QStringList captions{"COM и команды VI-4D", "Параметры режима VI-4D",
                               "Времена, опции, напряжения VI-4D", "RI1-R", "ZE2-R3"};
    ASSERT_EQ(tabs->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), names[i]);
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    }
    EXPECT_EQ(tabs->currentIndex(), 0);

    EXPECT_FALSE(Relcon4->fBlockPressKey);
    EXPECT_FALSE(Relcon4->fNotSetCheckBoxs);
    EXPECT_EQ(Relcon4->sInitDate, QStringLiteral("00.00.00"));
    EXPECT_DOUBLE_EQ(Relcon4->rVoltOpora, 5.5);
    EXPECT_EQ(CustomBaud, 9600);
}

TEST(Startup, CountdownShowsThreeTwoOneZeroThenActivates) {
    ResetAppGlobals();
    Windows w(true);
    struct Step {
        QString label;
        qint64 at;
        bool mainEnabled;
    };
    std::vector<Step> steps;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(StartForm->isVisible());
    EXPECT_TRUE(StartForm->Label1->isVisible());
    steps.push_back({StartForm->Label1->text(), 0, Relcon4->isEnabled()});
    // Watch the label after each of the splash timer's ticks.
    QObject::connect(StartForm->Timer1, &QTimer::timeout, [&] {
        const QString text = StartForm->Label1->text();
        if (text != steps.back().label)
            steps.push_back({text, clock.elapsed(), Relcon4->isEnabled()});
    });
    ASSERT_TRUE(testenv::WaitFor([] { return Relcon4->IsActivated(); }, std::chrono::seconds(10)));
    const qint64 total = clock.elapsed();
    ASSERT_TRUE(testenv::WaitFor([] { return !StartForm->isVisible(); }));

    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].label, "3");
    EXPECT_EQ(steps[1].label, "2");
    EXPECT_EQ(steps[2].label, "1");
    EXPECT_EQ(steps[3].label, "0");
    // The last tick shows 0 and activates in one go; before it the window stays disabled.
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_FALSE(steps[i].mainEnabled)
            << "main window enabled while the label showed " << steps[i].label.toStdString();
    // 10 ms plus ten 40 ms ticks per digit; generous upper bounds for a loaded machine.
    for (std::size_t i = 1; i < steps.size(); ++i) {
        const qint64 step = steps[i].at - steps[i - 1].at;
        EXPECT_GE(step, i == 1 ? 400 : 390) << "digit " << i;
        EXPECT_LT(step, 1500) << "digit " << i;
    }
    EXPECT_GE(total, 1200);
    EXPECT_TRUE(Relcon4->isEnabled());
    EXPECT_FALSE(Relcon4->fBlockPressKey);
    EXPECT_TRUE(ExeDir.endsWith('/'));
    EXPECT_GE(PcDate.Year, 2024);
    EXPECT_EQ(Relcon4->Button1->text(), QStringLiteral("COM-порт не выбран"))
        << "no port name known yet";
}

TEST(Startup, CountdownKeepsItsScheduleWhenATickComesLate) {
    Windows w(false);
    TStartForm& splash = *StartForm;
    splash.bNumSec = 30;
    splash.fIsWork = true;
    splash.Timer1Timer();
    EXPECT_EQ(splash.Timer1->interval(), 40) << "the first tick starts the schedule";
    // The next tick comes 25 ms late (at 65 ms): the one after is due at 80.
    QElapsedTimer late;
    late.start();
    while (late.elapsed() < 65) {
    }
    splash.Timer1Timer();
    EXPECT_EQ(splash.bNumSec, 29);
    EXPECT_LE(splash.Timer1->interval(), 15);
    EXPECT_GE(splash.Timer1->interval(), 0);
    splash.Timer1->stop();
}

TEST(Startup, PortButtonCaption) {
    EXPECT_EQ(PortButtonCaption(QStringLiteral("COM3")), QStringLiteral("COM 3"));
    EXPECT_EQ(PortButtonCaption(QStringLiteral("COM12")), QStringLiteral("COM 12"));
    EXPECT_EQ(PortButtonCaption(QString()), QStringLiteral("COM-порт не выбран"));
    EXPECT_EQ(PortButtonCaption(QStringLiteral("CO")), QStringLiteral("CO "));
    EXPECT_EQ(PortButtonCaption(QStringLiteral("COM")), QStringLiteral("COM "));
}

TEST(Startup, ActivationRunsOnceAndRestoreBringsBackFromMinimised) {
    Windows w(false);
    Relcon4->prActivateMasterForm(nullptr);
    Relcon4->fBlockPressKey = true;
    Relcon4->prActivateMasterForm(nullptr);
    EXPECT_TRUE(Relcon4->fBlockPressKey) << "a second activation does nothing";

    Relcon4->showMinimized();
    ASSERT_TRUE(testenv::WaitFor([] { return Relcon4->isMinimized(); }));
    Relcon4->RestoreMainWindow();
    EXPECT_TRUE(testenv::WaitFor([] { return !Relcon4->isMinimized() && Relcon4->isVisible(); }));
}

TEST(Startup, ShellButtonsAndBrandLabel) {
    RecordingInteraction user;
    bool dialogShown = false;
    user.onDialog = [&](QDialog* d) {
        dialogShown = d == reinterpret_cast<QDialog*>(ParamPortForm);
        return 0;
    };
    Windows w(false);
    Relcon4->prActivateMasterForm(nullptr);
    QTest::mouseClick(Relcon4->LogButton, Qt::LeftButton);
    EXPECT_TRUE(MonitorForm->isVisible());
    EXPECT_FALSE(MonitorForm->isModal());
    for (QPushButton* log : {Relcon4->LogButtonRi1r, Relcon4->LogButtonBench}) {
        ASSERT_NE(log, nullptr);
        EXPECT_EQ(log->text(), QStringLiteral("Лог"));
        MonitorForm->hide();
        log->click();
        EXPECT_TRUE(MonitorForm->isVisible()) << log->objectName().toStdString();
    }
    QTest::mouseClick(Relcon4->ParamComButton, Qt::LeftButton);
    EXPECT_TRUE(dialogShown);
    EXPECT_FALSE(Relcon4->sLabel4->toolTip().isEmpty());
}

// The brand label and F1 show the guide built into the program, at the
// section of the page in use, pictures included; nothing outside is opened.
TEST(Startup, HelpOpensTheGuideAtThePagesSection) {
    RecordingInteraction user;
    Windows w(false);
    Relcon4->prActivateMasterForm(nullptr);
    const struct {
        int tab;
        const char* heading;
        const char* picture;
        bool byKey;
    } cases[] = {
        {0, "5. Блок RO-4D", "screens/page1-commands.png", false},
        {3, "6. Блок RI1-R", "screens/page4-ri1r.png", true},
        {4, "7. Проверочный стенд ZI2-Z3", "screens/page5-bench.png", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heading);
        Relcon4->PageControl1->setCurrentIndex(c.tab);
        if (c.byKey) {
            QApplication::setActiveWindow(Relcon4);
            QTest::keyClick(Relcon4, Qt::Key_F1);
        } else {
            QTest::mouseClick(Relcon4->sLabel4, Qt::LeftButton);
        }
        auto* help = Relcon4->findChild<THelpWindow*>(QStringLiteral("HelpWindow"));
        ASSERT_TRUE(help);
        EXPECT_TRUE(testenv::WaitFor([&] { return help->isVisible(); }));
        EXPECT_EQ(help->Browser->textCursor().block().text(), QString::fromUtf8(c.heading));
        EXPECT_FALSE(
            help->Browser
                ->loadResource(QTextDocument::ImageResource, QUrl(QString::fromUtf8(c.picture)))
                .isNull());
        help->hide();
    }
    EXPECT_TRUE(user.openedUrls.empty());
}

TEST(Startup, ClosingTheMainWindowClosesTheErrorsWindow) {
    Windows w(false);
    Relcon4->prActivateMasterForm(nullptr);
    StatErrForm->show();
    ASSERT_TRUE(StatErrForm->isVisible());
    Relcon4->close();
    EXPECT_FALSE(StatErrForm->isVisible());
}
