#include "serial/com_port.h"

#include "platform/clock.h"
#include "platform/tty_device.h"
#include "serial/com_port_rules.h"
#include "serial/polling_thread.h"

namespace {

std::unique_ptr<serial::SerialDevice> MakeDevice(const QString& comName) {
    if (const serial::DeviceFactory& factory = serial::InstalledDeviceFactory())
        return factory(comName);
    return std::make_unique<platform::TtyDevice>(comName);
}

serial::LineControl DtrControl(TDTRFlowControl c) {
    switch (c) {
    case dtrEnable:
        return serial::LineControl::On;
    case dtrHandshake:
        return serial::LineControl::Handshake;
    default:
        return serial::LineControl::Off;
    }
}

// A toggled RTS rests low between sends, and a manual one is driven by SetRTS.
serial::LineControl RtsControl(TRTSFlowControl c) {
    switch (c) {
    case rtsEnable:
        return serial::LineControl::On;
    case rtsHandshake:
        return serial::LineControl::Handshake;
    default:
        return serial::LineControl::Off;
    }
}

constexpr std::uint32_t kErrInvalidHandle = 6;

} // namespace

void TCustomComPortD::SetDeviceFactory(serial::DeviceFactory factory) {
    serial::SetDeviceFactory(std::move(factory));
}

TCustomComPortD::TCustomComPortD(QObject* owner) : QObject(owner) {}

TCustomComPortD::~TCustomComPortD() {
    Close();
}

serial::SerialDevice* TCustomComPortD::Device() const {
    return FConnected && FDevice ? FDevice.get() : nullptr;
}

// ---- opening and closing ----

void TCustomComPortD::Open() {
    if (FConnected || FOpening)
        return;
    FOpening = true;
    if (OnBeforeOpen)
        OnBeforeOpen();
    CreateHandle();
    if (FConnected)
        ApplySettings();
    // Events are never watched by this program, so no event thread is made.
    if (FConnected) {
        FTimerEventThread = new TTimerThreadD(this);
        FTimerThreadCreated = true;
        SetPhonReceive(true);
    }
    sWindowsVersion.clear();
    FOpening = false;
    if (FConnected) {
        if (OnAfterOpen)
            OnAfterOpen();
        if (OnCTSChange || OnDSRChange || OnRLSDChange)
            ReportSignals(Signals());
    }
}

void TCustomComPortD::ReportSignals(const TComSignals& state) {
    if (OnCTSChange)
        OnCTSChange(state.contains(csCTS));
    if (OnDSRChange)
        OnDSRChange(state.contains(csDSR));
    if (OnRLSDChange)
        OnRLSDChange(state.contains(csRLSD));
}

void TCustomComPortD::CreateHandle() {
    platform::PumpThenSleep(10);
    FDevice = MakeDevice(FPort);
    serial::OpenResult result;
    if (FDevice)
        result = FDevice->open();
    else
        result = {serial::kErrFileNotFound, {}, QStringLiteral("no device for %1").arg(FPort)};
    FLastError = result.code;
    FOpenDevicePath = result.devicePath;
    FOpenFailReason = result.reason;
    const bool valid = result.code == 0 && FDevice && FDevice->isOpen();
    const bool ok =
        FWorkSendError ? valid : valid && (FLastError == 0 || FLastError == kErrInvalidHandle);
    if (!ok && FDevice)
        FDevice->close();
    FConnected = ok;
}

void TCustomComPortD::Close() {
    if (!FConnected || FClosing)
        return;
    FClosing = true;
    ReportSignals({});
    if (OnBeforeClose)
        OnBeforeClose();
    AbortAllAsync();
    if (FTimerEventThread) {
        SetPhonReceive(false);
        delete FTimerEventThread;
        FTimerEventThread = nullptr;
        FTimerThreadCreated = false;
    }
    DestroyHandle();
    FConnected = false;
    FClosing = false;
    if (OnAfterClose)
        OnAfterClose();
}

void TCustomComPortD::DestroyHandle() {
    if (FDevice)
        FDevice->close();
}

void TCustomComPortD::SetConnected(bool value) {
    if (value == FConnected)
        return;
    if (value)
        Open();
    else
        Close();
}

void TCustomComPortD::SetPort(const QString& value) {
    const QString name = NormalizePortName(value);
    if (name == FPort)
        return;
    FPort = name;
    if (FConnected) {
        Close();
        Open();
    }
}

// ---- applying settings ----

void TCustomComPortD::ApplySettings() {
    ApplyLineSettings();
    ApplyTimeouts();
    ApplyBuffer();
}

serial::LineSettings TCustomComPortD::BuildLineSettings() const {
    serial::LineSettings s;
    s.baudRate = BaudRateValue(FBaudRate, static_cast<std::uint32_t>(FCustomBaudRate));
    s.dataBits = 5 + static_cast<int>(FDataBits);
    s.parity = static_cast<serial::Parity>(FParity.Bits());
    s.stopBits = static_cast<serial::StopBits>(FStopBits);
    s.parityCheck = FParity.Check();
    s.ctsFlow = FFlowControl.OutCTSFlow();
    s.dsrFlow = FFlowControl.OutDSRFlow();
    s.dtr = DtrControl(FFlowControl.ControlDTR());
    s.rts = RtsControl(FFlowControl.ControlRTS());
    s.xonXoffOut = FFlowControl.XonXoffOut();
    s.xonXoffIn = FFlowControl.XonXoffIn();
    s.xonChar = FFlowControl.XonChar();
    s.xoffChar = FFlowControl.XoffChar();
    return s;
}

void TCustomComPortD::ApplyLineSettings() {
    serial::SerialDevice* dev = Device();
    if (!dev)
        return;
    if (!dev->applyLine(BuildLineSettings()))
        FLastError = 7;
}

// The driver's own time-outs and queue sizes have no counterpart on a tty:
// reads are polled by this component and the kernel's queues are fixed.
void TCustomComPortD::ApplyTimeouts() {}
void TCustomComPortD::ApplyBuffer() {}

void TCustomComPortD::SetBaudRate(TBaudRate value) {
    if (StoreChanged(FBaudRate, value))
        ApplyLineSettings();
}
void TCustomComPortD::SetDataBits(TDataBits value) {
    if (StoreChanged(FDataBits, value))
        ApplyLineSettings();
}
void TCustomComPortD::SetStopBits(TStopBits value) {
    if (StoreChanged(FStopBits, value))
        ApplyLineSettings();
}
void TCustomComPortD::SetDiscardNull(bool value) {
    if (StoreChanged(FDiscardNull, value))
        ApplyLineSettings();
}
void TCustomComPortD::SetEventChar(std::uint16_t value) {
    if (StoreChanged(FEventChar, value))
        ApplyLineSettings();
}

void TCustomComPortD::SetCustomBaudRate(std::int32_t value) {
    if (value == FCustomBaudRate)
        return;
    FFlowControl.FDTRstatus = false;
    FFlowControl.FRTSstatus = false;
    FCustomBaudRate = value;
    serial::SerialDevice* dev = Device();
    std::uint32_t current = 0;
    if (!dev || !dev->readBaudRate(current)) {
        FLastError = 22;
        return;
    }
    if (!dev->setBaudRate(BaudRateValue(FBaudRate, static_cast<std::uint32_t>(value))))
        FLastError = 7;
}

void TCustomComPortD::SetSyncMethod(TSyncMethod value) {
    if (FConnected) {
        FLastError = 14;
        return;
    }
    FSyncMethod = value;
}

void TCustomComPortD::SetPhonReceive(bool value) {
    FPhonReceive = value;
    if (FTimerEventThread)
        FTimerEventThread->fSuspend = !value;
}

// ---- line control and status ----

void TCustomComPortD::SetDTR(bool OnOff) {
    serial::SerialDevice* dev = Device();
    if (!dev || !dev->setDtr(OnOff))
        FLastError = 12;
    FFlowControl.FDTRstatus = OnOff;
}

void TCustomComPortD::SetRTS(bool OnOff) {
    serial::SerialDevice* dev = Device();
    if (!dev || !dev->setRts(OnOff))
        FLastError = 12;
    FFlowControl.FRTSstatus = OnOff;
}

void TCustomComPortD::SetXonXoff(bool OnOff) {
    serial::SerialDevice* dev = Device();
    if (!dev || !dev->setXon(OnOff))
        FLastError = 12;
}

void TCustomComPortD::SetBreak(bool OnOff) {
    serial::SerialDevice* dev = Device();
    if (!dev || !dev->setBreak(OnOff))
        FLastError = 12;
}

void TCustomComPortD::ClearBuffer(bool Input, bool Output) {
    serial::SerialDevice* dev = Device();
    if (!dev || !dev->purge(Input, Output))
        FLastError = 5;
}

std::int32_t TCustomComPortD::InputCount() {
    serial::SerialDevice* dev = Device();
    const int n = dev ? dev->inputCount() : -1;
    if (n < 0) {
        FLastError = 10;
        return 0;
    }
    return n;
}

std::int32_t TCustomComPortD::OutputCount() {
    serial::SerialDevice* dev = Device();
    const int n = dev ? dev->outputCount() : -1;
    if (n < 0) {
        FLastError = 10;
        return 0;
    }
    return n;
}

// A tty reports no hold states; only the failure is told apart.
TComStateFlags TCustomComPortD::StateFlags() {
    serial::SerialDevice* dev = Device();
    if (!dev || dev->outputCount() < 0)
        FLastError = 10;
    return {};
}

TComSignals TCustomComPortD::Signals() {
    serial::SerialDevice* dev = Device();
    serial::ModemLines lines;
    TComSignals result;
    if (!dev || !dev->modemStatus(lines)) {
        FLastError = 11;
        return result;
    }
    result.set(csCTS, lines.cts);
    result.set(csDSR, lines.dsr);
    result.set(csRing, lines.ring);
    result.set(csRLSD, lines.rlsd);
    return result;
}

TComErrors TCustomComPortD::LastErrors() {
    serial::SerialDevice* dev = Device();
    serial::LineErrors errors;
    TComErrors result;
    if (!dev || !dev->lineErrors(errors)) {
        FLastError = 10;
        return result;
    }
    result.set(ceFrame, errors.frame);
    result.set(ceRxParity, errors.parity && FParity.Check());
    result.set(ceOverrun, errors.overrun);
    result.set(ceBreak, errors.brk);
    return result;
}

void TCustomComPortD::TransmitChar(std::uint8_t Ch) {
    serial::SerialDevice* dev = Device();
    if (!dev || !dev->transmitChar(Ch))
        FLastError = 13;
}

// ---- polling thread ----

int TCustomComPortD::PollInputCount() {
    // The thread runs only between Open and Close, while FDevice stays put.
    const int n = FDevice ? FDevice->inputCount() : -1;
    FNumOfBytesIn = n > 0 ? n : 0;
    return n;
}

serial::WaitResult TCustomComPortD::WaitForInput() {
    return FDevice ? FDevice->waitForInput() : serial::WaitResult::Failed;
}

void TCustomComPortD::WakeInputWait() {
    if (FDevice)
        FDevice->wakeInputWait();
}

void TCustomComPortD::DeliverRxBuf() {
    // A call queued just before reception was switched off may still arrive.
    if (FPhonReceive && FConnected && OnRxBuf)
        OnRxBuf();
}
