#include "port/port_open.h"

#include "exchange/exchange_host.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_model.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "port/channel_port.h"
#include "port/port_rules.h"
#include "serial/com_port.h"
#include "shell/app_globals.h"

namespace {

QString lastOpenProblem;
int slowOpenPauseMs = kSlowOpenPauseMs;

// The port component behind a channel; only channel 0 has one.
TCustomComPortD* ChannelPort(std::uint8_t channel) {
    return channel == 0 ? ExchangePort() : nullptr;
}

void LogTrace(const QString& text) {
    AnalyzeLog.sStr = text;
    ExchangeLog().prStatusAsStrToLog(clLogGrey);
}

void ShowStatus(std::uint8_t message) {
    exchangeHost().showPortStatus(message);
}

void HideStatus() {
    exchangeHost().hidePortStatus();
}

// A slow attempt: the user sees the trouble for a while, the channel is
// marked crashed and the watchdog takes it from there.
void FailSlowAttempt(std::uint8_t channel, TCustomComPortD* port) {
    TExchangeState& ex = ExchangeState;
    LogTrace(QStringLiteral("OpenNewPort: возникли проблемы #1"));
    ShowStatus(2);
    platform::PumpMessages();
    platform::SleepMs(slowOpenPauseMs);
    HideStatus();
    // A slow device that did open at last is let go too: the channel does not
    // count as open, so nothing else would close it, and the watchdog reopens
    // it afresh.
    if (port && port->Connected())
        port->SetConnected(false);
    ex.PortOpen[channel] = false;
    if (ex.PortFailCount < 255)
        ++ex.PortFailCount;
    ex.PortCrash[channel] = true;
    lastOpenProblem = StatusCOMText(2);
    ArmPortWatchdog(kSlowOpenWatchdogMs);
    LogTrace(QStringLiteral("OpenNewPort extra exit #1"));
}

// One timed attempt; true when it was timely. A name outside COM1..COM96 is
// not handed to the component, which would open COM1 in its place and take
// the command to a unit on another port: it fails as an invalid name.
bool RunAttempt(std::uint8_t channel, int attempt) {
    TExchangeState& ex = ExchangeState;
    const QString& name = ex.PortName[channel];
    LogTrace(QStringLiteral("OpenNewPort #%1 : ").arg(attempt) + name);
    const bool isPort = !ComPortName(name).isEmpty();
    TCustomComPortD* port = ChannelPort(channel);
    if (port) {
        port->SetPhonReceive(false);
        if (ex.PortOpen[channel])
            port->SetConnected(false);
        if (isPort)
            port->SetPort(name);
    }
    ShowStatus(1);
    const int start = SecondsOfDay();
    if (port && isPort) {
        port->SetConnected(true);
        LogTrace(
            OpenTraceText(name, port->OpenDevicePath(), port->LastError(), port->OpenFailReason()));
    } else if (port) {
        port->SetLastError(serial::kErrInvalidName);
        LogTrace(QStringLiteral("OpenNewPort: нет такого порта: ") + name);
    }
    platform::PumpThenSleep(10);
    const int end = SecondsOfDay();
    if (OpenAttemptIsSlow(attempt, start, end)) {
        FailSlowAttempt(channel, port);
        return false;
    }
    ex.PortFailCount = 0;
    // After a timely first attempt the second shows the same message at
    // once, with nothing served in between: hiding the window only to show
    // it again would cost the opening a window's hide and show.
    if (attempt == 2)
        HideStatus();
    return true;
}

void CheckOpenResult(std::uint8_t channel, bool withMessages) {
    TExchangeState& ex = ExchangeState;
    ex.PortOpen[channel] = false;
    TCustomComPortD* port = ChannelPort(channel);
    const std::uint32_t code = port ? port->LastError() : 0;
    // A channel without a port component has nothing that could fail.
    const bool connected = port ? port->Connected() : true;
    const TOpenVerdict verdict = JudgeOpenResult(code, connected);
    if (verdict == TOpenVerdict::Open) {
        ex.PortOpen[channel] = true;
    } else {
        if (port && port->Connected())
            port->SetConnected(false);
        lastOpenProblem =
            OpenVerdictMessage(verdict, code, port ? port->OpenFailReason() : QString());
        if (withMessages)
            exchangeHost().plainMessage(lastOpenProblem);
    }
    if (port)
        port->SetLastError(0);
    if (ex.PortOpen[channel] && port)
        ApplyOpeningSettings(*port);
}

} // namespace

void OpenNewPort(std::uint8_t channel, bool withMessages) {
    lastOpenProblem.clear();
    if (channel < kNumChannels && RunAttempt(channel, 1) && RunAttempt(channel, 2))
        CheckOpenResult(channel, withMessages);
    LogTrace(QStringLiteral("OpenNewPort exit"));
}

void SetSlowOpenPause(int ms) {
    slowOpenPauseMs = ms < 0 ? kSlowOpenPauseMs : ms;
}

void ClosePort(std::uint8_t channel) {
    if (channel >= kNumChannels)
        return;
    ExchangeState.PortOpen[channel] = false;
    if (TCustomComPortD* port = ChannelPort(channel))
        port->SetConnected(false);
}

QString LastOpenProblem() {
    return lastOpenProblem;
}

void SetChannelPort(std::uint8_t channel, const QString& name) {
    if (channel >= kNumChannels)
        return;
    if (name.isEmpty()) {
        ExchangeState.PortOpen[channel] = false;
        return;
    }
    if (name.size() < 4)
        return;
    ExchangeState.PortName[channel] = PortStoredName(name);
    OpenNewPort(channel, true);
}

void OpenForCommand(std::uint8_t channel) {
    if (channel >= kNumChannels)
        return;
    TExchangeState& ex = ExchangeState;
    SetChannelPort(channel, ex.PortName[channel]);
    TCustomComPortD* port = ChannelPort(channel);
    if (!ex.PortOpen[channel] || !port)
        return;
    ApplyCommandSettings(*port);
    if (FiksDtrRts) {
        exchangeHost().applyFixedLines(*port);
        return;
    }
    port->FlowControl()->SetControlRTS(rtsDisable);
    port->SetRTS(false);
    port->SetDTR(false);
}

void CloseAfterCommand(std::uint8_t channel) {
    if (channel < kNumChannels && ExchangeState.PortOpen[channel])
        ClosePort(channel);
}

void OpenCloseCommandPort(bool open) {
    if (!open) {
        CloseAfterCommand(0);
        return;
    }
    if (ExchangeState.PortName[0].size() < 4)
        exchangeHost().noPortChosen();
    OpenForCommand(0);
}

void ApplyOpeningSettings(TCustomComPortD& port) {
    port.FlowControl()->SetFlowControl(fcNone);
    TComTimeoutsD& timeouts = *port.Timeouts();
    timeouts.SetReadTimeOut(700);
    timeouts.SetWaitTimePrevSending(PreSendPause);
    timeouts.SetReadTotalConstant(1);
    timeouts.SetReadInterval(0);
    timeouts.SetReadTotalMultiplier(0);
    port.SetPhonReceive(true);
}

void ApplyCommandSettings(TCustomComPortD& port) {
    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(CustomBaud);
    port.SetDataBits(db8Bits);
    port.SetStopBits(sb1Bit);
    port.Parity()->SetBits(prNone);
    TComTimeoutsD& timeouts = *port.Timeouts();
    timeouts.SetWrite1Wait2(4);
    timeouts.SetWrite2WaitN(4);
    timeouts.SetReadTimeOut(TimeOut);
    timeouts.SetWaitTimePrevSending(PreSendPause);
}

void PortMessageBox(const QString& text, const QString& caption) {
    exchangeHost().portMessageBox(text, caption);
}

void ArmPortWatchdog(int intervalMs) {
    exchangeHost().armPortWatchdog(intervalMs);
}

void DisconnectOpenPorts() {
    for (int channel = 0; channel < kNumChannels; ++channel) {
        if (!ExchangeState.PortOpen[channel])
            continue;
        if (TCustomComPortD* port = ChannelPort(static_cast<std::uint8_t>(channel)))
            port->SetConnected(false);
    }
}
