// The device beneath the serial port component: a real tty, or an in-process
// fake in tests. The component keeps all of its own rules (pacing, time-outs,
// error codes) and asks the device only for single, short operations.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace serial {

// Codes an open reports; they match the Windows codes the port management
// tells apart, so the rest of the program needs no second set.
inline constexpr std::uint32_t kErrFileNotFound = 2;
inline constexpr std::uint32_t kErrAccessDenied = 5;
inline constexpr std::uint32_t kErrGenFailure = 31;
inline constexpr std::uint32_t kErrInvalidName = 123;
// Permission denied has no twin among a COM port's codes (Windows says 5,
// "busy", for both); on Linux it means a user outside the device's group, so
// it gets a code of its own (Windows' "privilege not held").
inline constexpr std::uint32_t kErrNoPermission = 1314;

enum class Parity { None, Odd, Even, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };
// How a modem output line is driven by the line settings.
enum class LineControl { Off, On, Handshake };

struct LineSettings {
    std::uint32_t baudRate = 9600;
    int dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    bool parityCheck = false;
    bool ctsFlow = false;
    bool dsrFlow = false;
    LineControl dtr = LineControl::Off;
    LineControl rts = LineControl::Off;
    bool xonXoffOut = false;
    bool xonXoffIn = false;
    std::uint8_t xonChar = 17;
    std::uint8_t xoffChar = 19;
};

struct OpenResult {
    std::uint32_t code = 0; // 0 when open
    QString devicePath;     // empty when the name has no device
    QString reason;         // the system's own words for a failure
};

struct ModemLines {
    bool cts = false;
    bool dsr = false;
    bool ring = false;
    bool rlsd = false;
};

struct LineErrors {
    bool frame = false;
    bool parity = false;
    bool overrun = false;
    bool brk = false;
};

// Interrupted: only the wait for input ends so, when woken by another thread.
enum class WaitResult { Ready, TimedOut, Failed, Interrupted };

// What a bounded write achieved. failedToStart: the device refused the first
// attempt; otherwise a short count means the wait for completion failed.
struct WriteResult {
    std::size_t transferred = 0;
    bool failedToStart = false;
    bool complete = false;
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    virtual OpenResult open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString devicePath() const = 0;

    virtual bool applyLine(const LineSettings& settings) = 0;
    virtual bool readBaudRate(std::uint32_t& baud) = 0;
    virtual bool setBaudRate(std::uint32_t baud) = 0;

    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;
    virtual bool setBreak(bool on) = 0;
    // Resumes (true) or suspends (false) output as if XON/XOFF had come in.
    virtual bool setXon(bool on) = 0;
    virtual bool purge(bool input, bool output) = 0;
    virtual bool transmitChar(std::uint8_t ch) = 0;

    // Bytes waiting in the input / output queue, -1 on failure. inputCount is
    // also called from the polling thread, so it must be safe beside the rest.
    virtual int inputCount() = 0;
    virtual int outputCount() = 0;
    virtual bool modemStatus(ModemLines& lines) = 0;
    // Errors seen on the line since the last call.
    virtual bool lineErrors(LineErrors& errors) = 0;

    // Never block: the count taken or read (0 when it would block), -1 on failure.
    virtual long writeNow(const std::uint8_t* data, std::size_t count) = 0;
    virtual long readNow(std::uint8_t* data, std::size_t count) = 0;
    virtual WaitResult waitWritable(int timeoutMs) = 0;
    virtual WaitResult waitReadable(int timeoutMs) = 0;

    // The polling thread's wait, without a time limit of the caller's, so a
    // quiet line costs no wake-ups: Ready once bytes wait, Interrupted once
    // wakeInputWait() was called (a call before the wait ends the next one),
    // TimedOut when the device's own safety limit passed (look at the queue
    // all the same), Failed when the line cannot tell (hung up, pulled out),
    // which the caller paces itself. A device without readiness of its own
    // says Failed at once.
    virtual WaitResult waitForInput() { return WaitResult::Failed; }
    // Ends waitForInput from any thread while the device is open.
    virtual void wakeInputWait() {}

    // Writes all bytes, waiting at most limitMs in total for the device to take them.
    WriteResult writeWithin(const std::uint8_t* data, std::size_t count, int limitMs);
    // Continues a write that writeNow began; the result counts the whole write.
    WriteResult finishWrite(const std::uint8_t* data, std::size_t count, std::size_t done,
                            int limitMs);
};

using DeviceFactory = std::function<std::unique_ptr<SerialDevice>(const QString& comName)>;

// The devices the serial port component opens instead of the system's own
// (tests, benchmarks); an empty factory restores the system's.
void SetDeviceFactory(DeviceFactory factory);
// The factory installed last; empty when the system's devices are in force.
const DeviceFactory& InstalledDeviceFactory();

} // namespace serial
