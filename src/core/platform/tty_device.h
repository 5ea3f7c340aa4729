// A serial device node (a USB adapter, a UART, a pseudo-terminal) found
// through the port map and held exclusively while open.
#pragma once

#ifdef _WIN32
// On Windows the port is a COM device of the system's own.
#include "platform/win32/com_device.h"
namespace platform {
using TtyDevice = ComDevice;
}
#else

#include "platform/serial_device.h"

#include <atomic>

namespace platform {

// The Windows-style code for an errno of opening or setting up a device.
std::uint32_t OpenErrorCode(int err);

class TtyDevice : public serial::SerialDevice {
public:
    explicit TtyDevice(const QString& comName);
    ~TtyDevice() override;
    TtyDevice(const TtyDevice&) = delete;
    TtyDevice& operator=(const TtyDevice&) = delete;

    serial::OpenResult open() override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    QString devicePath() const override { return path_; }

    bool applyLine(const serial::LineSettings& settings) override;
    bool readBaudRate(std::uint32_t& baud) override;
    bool setBaudRate(std::uint32_t baud) override;

    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    bool setBreak(bool on) override;
    bool setXon(bool on) override;
    bool purge(bool input, bool output) override;
    bool transmitChar(std::uint8_t ch) override;

    int inputCount() override;
    int outputCount() override;
    bool modemStatus(serial::ModemLines& lines) override;
    bool lineErrors(serial::LineErrors& errors) override;

    long writeNow(const std::uint8_t* data, std::size_t count) override;
    long readNow(std::uint8_t* data, std::size_t count) override;
    serial::WaitResult waitWritable(int timeoutMs) override;
    serial::WaitResult waitReadable(int timeoutMs) override;
    serial::WaitResult waitForInput() override;
    void wakeInputWait() override;

private:
    serial::OpenResult fail(int err, std::uint32_t code);
    bool setModemBits(int bits, bool on);
    // timeoutMs < 0: no limit, and wakeInputWait() ends the wait.
    serial::WaitResult waitFor(short events, int timeoutMs);

    QString comName_;
    QString path_;
    std::atomic<int> fd_{-1};
    // An eventfd that wakes the input wait; it lives as long as the object,
    // so a wake-up never meets a descriptor being closed.
    int wake_ = -1;
    // Line error counters at the last look, to report only new errors.
    int frame_ = 0, parity_ = 0, overrun_ = 0, brk_ = 0;
};

// termios2 access for rates outside the standard table (tty_custom_baud.cpp).
bool SetCustomBaud(int fd, std::uint32_t baud);
bool GetActualBaud(int fd, std::uint32_t& baud);

} // namespace platform

#endif
