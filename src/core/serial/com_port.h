// The serial port component: one COM port, opened through the port map,
// sent to byte by byte with pauses and read by polling with a time-out.
// Failures are recorded as numbers in LastError; nothing is thrown.
#pragma once

#include "base/bytes.h"
#include "platform/serial_device.h"
#include "serial/com_port_settings.h"
#include "serial/com_port_types.h"

#include <QObject>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class TTimerThreadD;
// The event thread belongs to the component's surface, but the program never
// watches events, so it is not created on this platform.
class TComThreadD;

// One send or read operation. This platform completes it within the
// call that waits for it, so the record only carries the bytes and progress.
struct TAsyncD {
    TOperationKind Kind = okWrite;
    std::vector<std::uint8_t> Data; // private copy of the bytes of a write
    std::int32_t Size = 0;
    std::uint8_t* Target = nullptr; // where a read puts its bytes
    std::int32_t Done = 0;          // bytes transferred so far
    bool Failed = false;
};
using PAsync = TAsyncD*;

// The send path's wait: short sleeps with the GUI's events served between them.
void PumpedSleep(int ms);

class TCustomComPortD : public QObject {
    Q_OBJECT
public:
    explicit TCustomComPortD(QObject* owner = nullptr);
    ~TCustomComPortD() override;
    TCustomComPortD(const TCustomComPortD&) = delete;
    TCustomComPortD& operator=(const TCustomComPortD&) = delete;

    // How a port name becomes a device. Tests install a fake; an empty factory
    // restores the tty backend found through the port map.
    static void SetDeviceFactory(serial::DeviceFactory factory);

    void Open();
    void Close();

    bool Connected() const { return FConnected; }
    void SetConnected(bool value);
    QString Port() const { return FPort; }
    void SetPort(const QString& value);

    TBaudRate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudRate value);
    std::int32_t CustomBaudRate() const { return FCustomBaudRate; }
    void SetCustomBaudRate(std::int32_t value);
    TDataBits DataBits() const { return FDataBits; }
    void SetDataBits(TDataBits value);
    TStopBits StopBits() const { return FStopBits; }
    void SetStopBits(TStopBits value);
    bool DiscardNull() const { return FDiscardNull; }
    void SetDiscardNull(bool value);
    std::uint16_t EventChar() const { return FEventChar; }
    void SetEventChar(std::uint16_t value);
    TComEvents Events() const { return FEvents; }
    void SetEvents(TComEvents value) { FEvents = value; }
    TSyncMethod SyncMethod() const { return FSyncMethod; }
    void SetSyncMethod(TSyncMethod value);

    TComBufferD* Buffer() { return &FBuffer; }
    TComTimeoutsD* Timeouts() { return &FTimeouts; }
    TComParityD* Parity() { return &FParity; }
    TComFlowControlD* FlowControl() { return &FFlowControl; }
    void SetBuffer(const TComBufferD& value) { FBuffer.Assign(value); }
    void SetTimeouts(const TComTimeoutsD& value) { FTimeouts.Assign(value); }
    void SetParity(const TComParityD& value) { FParity.Assign(value); }
    void SetFlowControl(const TComFlowControlD& value) { FFlowControl.Assign(value); }

    QString Version() const { return FVersion; }
    std::uint32_t LastError() const { return FLastError; }
    void SetLastError(std::uint32_t value) { FLastError = value; }
    bool WorkSendError() const { return FWorkSendError; }
    void SetWorkSendError(bool value) { FWorkSendError = value; }
    bool FlagIsTransmitt() const { return FFlagIsTransmitt; }
    void SetFlagIsTransmitt(bool value) { FFlagIsTransmitt = value; }
    bool WaitReceive() const { return FWaitReceive; }
    void SetWaitReceive(bool value) { FWaitReceive = value; }
    bool GetByteLen() const { return FGetByteLen; }
    void SetGetByteLen(bool value) { FGetByteLen = value; }
    // Background reception: while on, the polling thread raises OnRxBuf.
    bool PhonReceive() const { return FPhonReceive; }
    void SetPhonReceive(bool value);
    std::int32_t NumOfBytesIn() const { return FNumOfBytesIn; }
    std::int32_t ManyWait1byte() const { return FManyWait1byte; }
    void SetManyWait1byte(std::int32_t Value) { FManyWait1byte = Value; }

    // The device behind the last open and, when it failed, the system's reason.
    QString OpenDevicePath() const { return FOpenDevicePath; }
    QString OpenFailReason() const { return FOpenFailReason; }

    // Line control and status.
    void SetDTR(bool OnOff);
    void SetRTS(bool OnOff);
    void SetXonXoff(bool OnOff);
    void SetBreak(bool OnOff);
    void ClearBuffer(bool Input, bool Output);
    std::int32_t InputCount();
    std::int32_t OutputCount();
    TComStateFlags StateFlags();
    TComSignals Signals();
    TComErrors LastErrors();
    void TransmitChar(std::uint8_t Ch);

    // Data path (com_port_io.cpp).
    bool SendString(PMasBytes PBuf, std::uint16_t wNumBytes);
    bool ReadData(PMasBytes PBuf, std::uint16_t& wLenBufIn, std::uint16_t bNumByteOfLen,
                  std::uint16_t bNumPlusBytes, std::uint8_t bNumByteOfError,
                  std::uint8_t bMaskError);
    std::uint32_t funDataIsOk();
    // True when the open device reports a hang-up or a failure (an adapter
    // pulled out, the other end of the line gone); false while the line is up.
    bool LineFailed();
    std::int32_t ReadManyBytes(std::uint8_t bNum);
    std::int32_t ReadOneByte(std::uint8_t& bOneByte);
    std::int32_t Read(void* Buffer, std::int32_t Count);
    std::int32_t WriteAsync(const void* Buffer, std::int32_t Count, PAsync& AsyncPtr);
    std::int32_t ReadAsync(void* Buffer, std::int32_t Count, PAsync& AsyncPtr);
    std::int32_t WaitForAsync(PAsync& AsyncPtr);
    bool IsAsyncCompleted(PAsync AsyncPtr);
    void AbortAllAsync();
    // Waits up to Timeout ms for one of Events, or until *StopEvent is set.
    void WaitForEvent(TComEvents& Events, const std::atomic<bool>* StopEvent, std::int32_t Timeout);

    // Overridable steps of opening and applying settings.
    virtual void CreateHandle();
    virtual void DestroyHandle();
    virtual void ApplySettings();
    virtual void ApplyLineSettings();
    virtual void ApplyTimeouts();
    virtual void ApplyBuffer();

    // Tick count taken when the last send finished; the reply latency counts from it.
    std::uint32_t cGlobStartTick = 0;
    // Always empty here, so the send pacing keeps its ordinary rule.
    QString sWindowsVersion;
    // Staging array for one read pass.
    std::array<std::uint8_t, 256> mMas{};

    TComErrorEvent OnError;
    TNotifyEvent OnRxChar;
    TNotifyEvent OnRxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnBreak;
    TNotifyEvent OnRing;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnAfterOpen;
    TNotifyEvent OnAfterClose;
    TNotifyEvent OnBeforeOpen;
    TNotifyEvent OnBeforeClose;
    TNotifyEvent OnRx80Full;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;

private:
    friend class TTimerThreadD;

    // The open device, or null when the port is closed.
    serial::SerialDevice* Device() const;
    serial::LineSettings BuildLineSettings() const;
    void ReportSignals(const TComSignals& state);
    std::int32_t ContinueRead(TAsyncD& op, int limitMs);
    std::int32_t ReadWait(void* Buffer, std::int32_t Count);
    void WaitForInput(int ms);
    // Called by the polling thread: bytes waiting, stored in FNumOfBytesIn.
    int PollInputCount();
    // The polling thread's wait for the line's readiness, and its wake-up.
    serial::WaitResult WaitForInput();
    void WakeInputWait();
    // Runs OnRxBuf on the GUI thread for the polling thread.
    void DeliverRxBuf();

    std::unique_ptr<serial::SerialDevice> FDevice;
    TComThreadD* FEventThread = nullptr;
    TTimerThreadD* FTimerEventThread = nullptr;
    bool FThreadCreated = false;
    bool FTimerThreadCreated = false;
    bool FTriggersOnRxChar = true;
    std::atomic<bool> FConnected{false};
    QString FPort = QStringLiteral("COM1");
    TComEvents FEvents;
    TComBufferD FBuffer{this};
    TComTimeoutsD FTimeouts{this};
    TSyncMethod FSyncMethod = smThreadSync;
    TBaudRate FBaudRate = br2400;
    std::int32_t FCustomBaudRate = 2400;
    TStopBits FStopBits = sb1Bit;
    TDataBits FDataBits = db8Bits;
    std::uint16_t FEventChar = 0;
    TComParityD FParity{this};
    bool FDiscardNull = false;
    TComFlowControlD FFlowControl{this};
    bool FFlagIsTransmitt = false;
    bool FWorkSendError = false;
    QString FVersion = QStringLiteral("4.0");
    std::uint32_t FLastError = 0;
    bool FWaitReceive = false;
    std::int32_t FManyWait1byte = 0;
    bool FPhonReceive = false;
    std::atomic<std::int32_t> FNumOfBytesIn{0};
    bool FGetByteLen = false;

    QString FOpenDevicePath;
    QString FOpenFailReason;
    // Guards against re-entry from the events served inside Open and Close.
    bool FOpening = false;
    bool FClosing = false;
};

class TComPortD : public TCustomComPortD {
    Q_OBJECT
public:
    using TCustomComPortD::TCustomComPortD;
};
