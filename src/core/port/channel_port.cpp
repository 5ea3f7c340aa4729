#include "port/channel_port.h"

#include "exchange/log_model.h"
#include "serial/com_port.h"

#include <memory>

namespace {

std::unique_ptr<TComPortD> exchangePort;

} // namespace

TComPortD* ExchangePort() {
    return exchangePort.get();
}

TComPortD* CreateExchangePort() {
    DestroyExchangePort();
    exchangePort = std::make_unique<TComPortD>();
    exchangePort->setObjectName(QStringLiteral("ComPortD1"));
    ApplyStoredPortSettings(*exchangePort);
    // The log shows how long the unit took to answer; the port keeps that.
    ExchangeLog().replyLatencyMs = [] {
        return ExchangePort() ? ExchangePort()->ManyWait1byte() : 0;
    };
    return exchangePort.get();
}

void DestroyExchangePort() {
    if (!exchangePort)
        return;
    // No late background call may reach whoever listened.
    exchangePort->OnRxBuf = nullptr;
    exchangePort.reset();
}

void ApplyStoredPortSettings(TCustomComPortD& port) {
    port.SetPort(QStringLiteral("COM1"));
    port.SetBaudRate(br9600);
    port.SetDataBits(db8Bits);
    port.SetStopBits(sb1Bit);
    port.Parity()->SetBits(prNone);
    port.SetEvents({});
    port.Buffer()->SetInputSize(64);
    port.Buffer()->SetOutputSize(0);
    TComTimeoutsD& timeouts = *port.Timeouts();
    timeouts.SetReadInterval(0);
    timeouts.SetReadTotalMultiplier(0);
    timeouts.SetReadTotalConstant(1);
    timeouts.SetWriteTotalMultiplier(100);
    timeouts.SetWriteTotalConstant(1000);
    timeouts.SetWrite1Wait2(2);
    timeouts.SetWrite2WaitN(2);
    timeouts.SetReadTimeOut(50);
    timeouts.SetWaitTimeAfterSending(0);
    timeouts.SetWaitTimePrevSending(50);
    port.FlowControl()->SetFlowControl(fcNone);
    port.SetWorkSendError(false);
}
