#include "port/port_open.h"

#include "exchange/exchange_state.h"
#include "exchange/log_state.h"
#include "exchange/monitor_form.h"
#include "platform/clock.h"
#include "port/exchange_settings.h"
#include "port/port_rules.h"
#include "port/status_com_form.h"
#include "serial/com_port.h"
#include "shell/app_globals.h"
#include "shell/app_windows.h"
#include "shell/box_message.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"

#include <QTimer>

namespace {

int slowOpenPauseMs = kSlowOpenPauseMs;

// The port component behind a channel; only channel 0 has one.
TCustomComPortD* ChannelPort(std::uint8_t channel) {
    if (channel != 0 || !MonitorForm)
        return nullptr;
    return MonitorForm->ComPortD1;
}

void LogTrace(const QString& text) {
    if (!MonitorForm)
        return;
    AnalyzeLog.sStr = text;
    MonitorForm->prStatusAsStrToLog(clLogGrey);
}

void ShowStatus(std::uint8_t message) {
    if (StatusCOMForm)
        StatusCOMForm->prShowStatus(message);
}

void HideStatus() {
    if (StatusCOMForm)
        StatusCOMForm->hide();
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
    ArmPortWatchdog(kSlowOpenWatchdogMs);
    LogTrace(QStringLiteral("OpenNewPort extra exit #1"));
}

// One timed attempt; true when it was timely.
bool RunAttempt(std::uint8_t channel, int attempt) {
    TExchangeState& ex = ExchangeState;
    LogTrace(QStringLiteral("OpenNewPort #%1 : ").arg(attempt) + ex.PortName[channel]);
    TCustomComPortD* port = ChannelPort(channel);
    if (port) {
        port->SetPhonReceive(false);
        if (ex.PortOpen[channel])
            port->SetConnected(false);
        port->SetPort(ex.PortName[channel]);
    }
    ShowStatus(1);
    const int start = SecondsOfDay();
    if (port) {
        port->SetConnected(true);
        LogTrace(OpenTraceText(ex.PortName[channel], port->OpenDevicePath(), port->LastError(),
                               port->OpenFailReason()));
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
        if (withMessages)
            ShowPlainMessage(
                OpenVerdictMessage(verdict, code, port ? port->OpenFailReason() : QString()));
    }
    if (port)
        port->SetLastError(0);
    if (ex.PortOpen[channel] && port)
        ApplyOpeningSettings(*port);
}

} // namespace

void OpenNewPort(std::uint8_t channel, bool withMessages) {
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
    if (BoxMessage)
        BoxMessage->MessageBoxR(nullptr, text, caption, MB_OK_ICONEXCLAMATION);
    else
        interaction().messageBox(text, caption, MB_OK_ICONEXCLAMATION);
}

void ArmPortWatchdog(int intervalMs) {
    if (!Relcon4 || !Relcon4->CrashComTimer)
        return;
    QTimer* timer = Relcon4->CrashComTimer;
    if (timer->isActive())
        timer->stop();
    timer->setInterval(intervalMs);
    timer->start();
}

void DisconnectOpenPorts() {
    for (int channel = 0; channel < kNumChannels; ++channel) {
        if (!ExchangeState.PortOpen[channel])
            continue;
        if (TCustomComPortD* port = ChannelPort(static_cast<std::uint8_t>(channel)))
            port->SetConnected(false);
    }
}
