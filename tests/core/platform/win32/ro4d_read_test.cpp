// A page of the RO-4D read the way the pages read it: through the transaction
// engine of the Windows build, from the simulated unit behind a COM port.
#include "core/serial/exchange_port.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "windows_line.h"

#include <gtest/gtest.h>

using namespace wintest;

TEST(WindowsPorts, Ro4dPageReadEndToEnd) {
    ResetExchangeSettings();
    ExchangeState.Reset();
    Relcon4 = new TRelcon4;
    MonitorForm = new TMonitorForm(Relcon4);
    TComPortD* port = MonitorForm->ComPortD1;
    const QString unit = Port("RELCON4_TEST_COM");
    ASSERT_TRUE(serialtest::OpenForExchange(*port, unit, kReadTimeOut));
    port->SetPhonReceive(true);
    ExchangeState.PortOpen[0] = true;
    ExchangeState.PortName[0] = unit;

    const TRo4dRequest request = PageRequest(0);
    ExchangeState.TxBuf = Framed(request, ExchangeState.TxLength);
    ExchangeState.RxExpected = request.replyLength;
    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(ExchangeState.RxLength, request.replyLength);
    EXPECT_FALSE(ExchangeState.ReplyFailed);
    EXPECT_TRUE(CrcHolds(ExchangeState.RxBuf, ExchangeState.RxLength));
    EXPECT_EQ(ExchangeState.RxBuf[0], request.replyLength);

    port->Close();
    delete Relcon4;
    Relcon4 = nullptr;
    MonitorForm = nullptr;
}
