#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_state.h"
#include "exchange/monitor_form.h"
#include "port/channel_port.h"
#include "serial/com_port.h"

#include <QBrush>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

class MonitorFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetExchangeSettings();
        ExchangeState.Reset();
        OnLogOptionsChanged = [this] { ++saves; };
        form = std::make_unique<TMonitorForm>();
        form->show();
    }
    void TearDown() override {
        OnLogOptionsChanged = nullptr;
        form.reset();
        ResetLogState();
    }

    QString row(int r) const {
        return form->MonitorsListView->model()->index(r, 0).data().toString();
    }
    QColor rowColor(int r) const {
        return form->MonitorsListView->model()
            ->index(r, 0)
            .data(Qt::ForegroundRole)
            .value<QBrush>()
            .color();
    }
    void status(const QString& text, TLogColor color) {
        AnalyzeLog.sStr = text;
        form->prStatusAsStrToLog(color);
    }
    void setExchange(std::initializer_list<std::uint8_t> tx,
                     std::initializer_list<std::uint8_t> rx) {
        std::copy(tx.begin(), tx.end(), ExchangeState.TxBuf.begin());
        ExchangeState.TxLength = static_cast<std::uint16_t>(tx.size());
        std::copy(rx.begin(), rx.end(), ExchangeState.RxBuf.begin());
        ExchangeState.RxLength = static_cast<std::uint16_t>(rx.size());
    }

    std::unique_ptr<TMonitorForm> form;
    int saves = 0;
};

} // namespace

TEST_F(MonitorFormTest, CreatedWithItsControlsAndOptions) {
    EXPECT_EQ(form->objectName(), QStringLiteral("MonitorForm"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Лог событий"));
    EXPECT_EQ(form->size(), QSize(1042, 217));
    EXPECT_EQ(form->windowModality(), Qt::NonModal);
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0xF0, 0x74, 0x36));
    for (const char* name :
         {"Panel1", "MonitorPanel", "MonitorsListView", "OptionPanel", "TelState1Label",
          "TelOffImage", "TelOnImage", "TelState2Label", "TelStateEdit", "TelStateCheckBox",
          "FontRadioGroup", "FormatRadioGroup", "DebugLogCheckBox", "CmdLogCheckBox"})
        EXPECT_NE(form->findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(form->OptionPanel->maximumHeight(), 91);
    EXPECT_EQ(form->FontRadioGroup->title(), QStringLiteral("Размер шрифта"));
    EXPECT_EQ(form->FormatRadioGroup->title(), QStringLiteral("Формат данных"));
    EXPECT_TRUE(form->FontRadioItem12->isChecked());
    EXPECT_TRUE(form->FormatRadioItemHex->isChecked());
    EXPECT_TRUE(form->CmdLogCheckBox->isChecked());
    EXPECT_TRUE(form->DebugLogCheckBox->isChecked());
    EXPECT_FALSE(form->TelStateCheckBox->isChecked());
    EXPECT_EQ(form->TelStateEdit->text(), QStringLiteral("00"));
    EXPECT_EQ(form->TelStateEdit->maxLength(), 2);
    EXPECT_TRUE(form->TelOnImage->isHidden());
    EXPECT_EQ(form->TelOffImage->pixmap().size(), QSize(32, 32));
    EXPECT_TRUE(LogHex);
    EXPECT_EQ(LogFontSize, 12);
    EXPECT_FALSE(LogOldestFirst);
    EXPECT_EQ(form->MonitorsListView->model()->rowCount(), 400);
    EXPECT_EQ(row(0), QString());
    EXPECT_EQ(LogWritePos, 0);
    EXPECT_EQ(LogLineNo, 0);

    form->resize(1200, 300);
    EXPECT_EQ(form->Panel1->geometry(), QRect(4, 4, 1192, 292));
}

TEST_F(MonitorFormTest, CommandEntryShowsRequestAboveReplyInBothOrders) {
    setExchange({0x05, 0x01, 0x03, 0x24, 0x3E}, {0x06, 0x01, 0x03, 0x01, 0xD1, 0x1B});
    LogLineNo = 16;
    form->prShowLog(true, true, false);
    EXPECT_EQ(row(0), QStringLiteral("   17 : 05.01.03.24.3E"));
    EXPECT_EQ(rowColor(0), QColor(0, 0, 255));
    EXPECT_EQ(row(1), QStringLiteral("        06.01.03.01.D1.1B (0 мс)"));
    EXPECT_EQ(rowColor(1), QColor(0x80, 0, 0x80));
    EXPECT_EQ(LogWritePos, 2);
    // Newest first: the reply sits lower in the ring, the request above it.
    EXPECT_EQ(LogLines[1], row(0));
    EXPECT_EQ(LogLines[0], row(1));

    ExchangeState.AttemptsUsed = 2;
    form->prShowLog(false, true, false);
    EXPECT_EQ(row(0), QStringLiteral("   18 :   5.  1.  3. 36. 62 (2)"));
    EXPECT_EQ(row(1), QStringLiteral("          6.  1.  3.  1.209. 27 (0 мс)"));
    EXPECT_EQ(row(2), QStringLiteral("   17 : 05.01.03.24.3E"));

    LogOldestFirst = true;
    ExchangeState.AttemptsUsed = 0;
    form->prShowLog(true, true, false);
    EXPECT_EQ(LogLines[4], QStringLiteral("   19 : 05.01.03.24.3E"));
    // Entries stored newest first keep their ring order when shown oldest first.
    EXPECT_EQ(row(0), QStringLiteral("        06.01.03.01.D1.1B (0 мс)"));
    EXPECT_EQ(row(1), QStringLiteral("   17 : 05.01.03.24.3E"));
    EXPECT_EQ(row(4), QStringLiteral("   19 : 05.01.03.24.3E"));
    EXPECT_EQ(rowColor(4), QColor(0, 0, 255));
    EXPECT_EQ(row(5), QStringLiteral("        06.01.03.01.D1.1B (0 мс)"));
    EXPECT_EQ(rowColor(5), QColor(0x80, 0, 0x80));
}

TEST_F(MonitorFormTest, EntryWithoutRequestOrReplyAndOnlyToFile) {
    form->prShowLog(true, true, false);
    EXPECT_EQ(row(0), QStringLiteral("    1 : нет запроса"));
    EXPECT_EQ(row(1), QStringLiteral("        нет ответа"));
    EXPECT_EQ(rowColor(1), QColor(255, 0, 0));
    // With a request, a missing reply keeps the reply colour.
    setExchange({0x05}, {});
    form->prShowLog(true, true, false);
    EXPECT_EQ(row(1), QStringLiteral("        нет ответа"));
    EXPECT_EQ(rowColor(1), QColor(0x80, 0, 0x80));
    // A command entry only for the file is neither stored nor shown.
    form->prShowLog(true, true, true);
    EXPECT_EQ(LogWritePos, 4);
    EXPECT_EQ(row(0), QStringLiteral("    2 : 05"));
}

TEST_F(MonitorFormTest, CommandEntryAtTheEndOfTheRingWrapsItsSecondLine) {
    LogWritePos = 399;
    setExchange({0x01}, {0x02});
    form->prShowLog(true, true, false);
    EXPECT_EQ(LogWritePos, 1);
    EXPECT_EQ(LogLines[399], QStringLiteral("        02 (0 мс)"));
    EXPECT_EQ(LogLines[0], QStringLiteral("    1 : 01"));
    EXPECT_EQ(row(0), QStringLiteral("    1 : 01"));
    EXPECT_EQ(row(1), QStringLiteral("        02 (0 мс)"));
}

TEST_F(MonitorFormTest, RingWrapsAfter400StatusLines) {
    for (int i = 1; i <= 401; ++i)
        status(QString::number(i), clLogBlack);
    EXPECT_EQ(LogWritePos, 1);
    EXPECT_EQ(LogLines[0], QStringLiteral("401"));
    EXPECT_EQ(row(0), QStringLiteral("401"));
    EXPECT_EQ(row(1), QStringLiteral("400"));
    EXPECT_EQ(row(399), QStringLiteral("2"));

    LogOldestFirst = true;
    status(QStringLiteral("402"), clLogRed);
    EXPECT_EQ(row(0), QStringLiteral("3"));
    EXPECT_EQ(row(398), QStringLiteral("401"));
    EXPECT_EQ(row(399), QStringLiteral("402"));
    EXPECT_EQ(rowColor(399), QColor(255, 0, 0));
}

TEST_F(MonitorFormTest, OldestFirstLeavesRowsBelowTheLinesAlone) {
    status(QStringLiteral("один"), clLogBlack);
    status(QStringLiteral("два"), clLogBlack);
    EXPECT_EQ(row(0), QStringLiteral("два"));
    EXPECT_EQ(row(1), QStringLiteral("один"));
    LogOldestFirst = true;
    status(QStringLiteral("три"), clLogBlack);
    EXPECT_EQ(row(0), QStringLiteral("один"));
    EXPECT_EQ(row(1), QStringLiteral("два"));
    EXPECT_EQ(row(2), QStringLiteral("три"));
}

TEST_F(MonitorFormTest, GreyLinesOnlyWhileDebugIsTicked) {
    status(QStringLiteral("trace"), clLogGrey);
    EXPECT_EQ(row(0), QStringLiteral("trace"));
    EXPECT_EQ(rowColor(0), QColor(128, 128, 128));
    form->DebugLogCheckBox->setChecked(false);
    status(QStringLiteral("hidden"), clLogGrey);
    EXPECT_EQ(LogWritePos, 1);
    EXPECT_EQ(row(0), QStringLiteral("trace"));
    status(QStringLiteral("failure"), clLogRed);
    EXPECT_EQ(LogWritePos, 2);
    EXPECT_EQ(row(0), QStringLiteral("failure"));
    EXPECT_EQ(rowColor(0), QColor(255, 0, 0));
}

TEST_F(MonitorFormTest, StatusLineWithNumberAndByteLine) {
    AnalyzeLog.sStr = QStringLiteral("Ошибка");
    AnalyzeLog.iVal = 31;
    AnalyzeLog.fWithIntVal = true;
    form->prStatusAsStrToLog(clLogRed);
    EXPECT_EQ(row(0), QStringLiteral("Ошибка : 31"));
    EXPECT_FALSE(AnalyzeLog.fWithIntVal);
    EXPECT_EQ(AnalyzeLog.sStr, QStringLiteral("Ошибка"));

    LogLineNo = 18;
    AnalyzeLog.sStr = QStringLiteral("SA");
    AnalyzeLog.fWithIntVal = true;
    form->prStatusAsCmdToLog(clLogRed, true);
    EXPECT_TRUE(row(0).startsWith(QStringLiteral("   19 : 53 (")));
    EXPECT_EQ(rowColor(0), QColor(255, 0, 0));
    EXPECT_FALSE(AnalyzeLog.fWithIntVal);
    EXPECT_EQ(LogLineNo, 19);
}

TEST_F(MonitorFormTest, FormatChangeSavesAndAffectsOnlyLaterLines) {
    setExchange({0x0A}, {});
    form->prShowLog(LogHex, true, false);
    QTest::mouseClick(form->FormatRadioItemDec, Qt::LeftButton);
    EXPECT_FALSE(LogHex);
    EXPECT_EQ(saves, 1);
    form->FormatRadioGroupClick();
    EXPECT_EQ(saves, 1) << "no change, no save";
    form->prShowLog(LogHex, true, false);
    EXPECT_EQ(row(0), QStringLiteral("    2 :  10"));
    EXPECT_EQ(row(2), QStringLiteral("    1 : 0A"));
    QTest::mouseClick(form->FormatRadioItemHex, Qt::LeftButton);
    EXPECT_TRUE(LogHex);
    EXPECT_EQ(saves, 2);
}

TEST_F(MonitorFormTest, FontSizeFromClicksAndFromLoadedSettings) {
    QTest::mouseClick(form->FontRadioItem8, Qt::LeftButton);
    EXPECT_EQ(LogFontSize, 8);
    EXPECT_EQ(form->MonitorsListView->font().pointSize(), 8);
    EXPECT_EQ(saves, 1);

    // Loaded settings go into the controls; the click handlers then find nothing to change.
    LogFontSize = 12;
    LogHex = false;
    form->SetSaveParam();
    EXPECT_TRUE(form->FontRadioItem12->isChecked());
    EXPECT_TRUE(form->FormatRadioItemDec->isChecked());
    EXPECT_EQ(form->MonitorsListView->font().pointSize(), 12);
    form->FormatRadioGroupClick();
    form->FontRadioGroupClick();
    EXPECT_EQ(saves, 1);
}

TEST_F(MonitorFormTest, TelemetryFieldShowsTheByteAsTwoHexDigits) {
    form->TelStateEdit->selectAll();
    QTest::keyClicks(form->TelStateEdit, QStringLiteral("a"));
    EXPECT_EQ(form->TelStateEdit->text(), QStringLiteral("0A"));
    EXPECT_EQ(form->bTelemByte, 0x0A);
    form->TelStateEdit->setText(QStringLiteral("1G"));
    form->TelStateEditChange();
    EXPECT_EQ(form->TelStateEdit->text(), QStringLiteral("10"));
    EXPECT_EQ(form->bTelemByte, 0x10);
}

TEST_F(MonitorFormTest, SumCheckOfTheReplyBuffer) {
    setExchange({}, {0x10, 0x20, 0x30});
    EXPECT_TRUE(TMonitorForm::funCheckCS(3));
    EXPECT_FALSE(TMonitorForm::funCheckCS(1));
    EXPECT_FALSE(TMonitorForm::funCheckCS(2));
    ExchangeState.RxBuf[1] = 0x10;
    EXPECT_TRUE(TMonitorForm::funCheckCS(2));
}

// The core owns the port; the window is given a fresh one when it is made.
TEST_F(MonitorFormTest, UsesTheCorePortWithItsStoredSettings) {
    TComPortD* port = form->ComPortD1;
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(ExchangePort(), port);
    EXPECT_EQ(port->objectName(), QStringLiteral("ComPortD1"));
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(port->Port(), QStringLiteral("COM1"));
    EXPECT_EQ(port->BaudRate(), br9600);
    EXPECT_EQ(port->CustomBaudRate(), 2400);
    EXPECT_EQ(port->DataBits(), db8Bits);
    EXPECT_EQ(port->StopBits(), sb1Bit);
    EXPECT_EQ(port->Parity()->Bits(), prNone);
    EXPECT_EQ(port->Buffer()->InputSize(), 64);
    EXPECT_EQ(port->Buffer()->OutputSize(), 0);
    const TComTimeoutsD& t = *port->Timeouts();
    EXPECT_EQ(t.ReadInterval(), 0);
    EXPECT_EQ(t.ReadTotalMultiplier(), 0);
    EXPECT_EQ(t.ReadTotalConstant(), 1);
    EXPECT_EQ(t.WriteTotalMultiplier(), 100);
    EXPECT_EQ(t.WriteTotalConstant(), 1000);
    EXPECT_EQ(t.Write1Wait2(), 2);
    EXPECT_EQ(t.Write2WaitN(), 2);
    EXPECT_EQ(t.ReadTimeOut(), 50);
    EXPECT_EQ(t.WaitTimeAfterSending(), 0);
    EXPECT_EQ(t.WaitTimePrevSending(), 50);
    EXPECT_EQ(port->FlowControl()->FlowControl(), fcNone);
    EXPECT_EQ(port->FlowControl()->ControlDTR(), dtrDisable);
    EXPECT_FALSE(port->WorkSendError());
    EXPECT_TRUE(static_cast<bool>(port->OnRxBuf));
    port->OnRxBuf(); // reception is off: nothing to do, nothing breaks
}

TEST_F(MonitorFormTest, DelayKeepsEventsRunning) {
    bool fired = false;
    // A zero timer is due at the first pump, however loaded the machine; the
    // context object drops it with this test should it never come due.
    QObject context;
    QTimer::singleShot(0, &context, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    TMonitorForm::pDelay(30);
    // Counted in whole ticks of the millisecond clock, so up to 1 ms short.
    EXPECT_GE(clock.elapsed(), 29);
    EXPECT_TRUE(fired);
    clock.restart();
    TMonitorForm::pDelay(0);
    EXPECT_LT(clock.elapsed(), 20);
}
