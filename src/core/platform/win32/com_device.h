// A COM port of Windows, opened by name (\\.\COM<n>) without sharing and
// driven with overlapped I/O. Error codes are Windows' own, as they come.
#pragma once

#include "platform/serial_device.h"

#include <atomic>
#include <memory>

namespace platform {

class ComDevice : public serial::SerialDevice {
public:
    explicit ComDevice(const QString& comName);
    ~ComDevice() override;
    ComDevice(const ComDevice&) = delete;
    ComDevice& operator=(const ComDevice&) = delete;

    serial::OpenResult open() override;
    void close() override;
    bool isOpen() const override { return handle_ != nullptr; }
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
    bool escape(unsigned function);
    // Bytes in the driver's queues; also gathers the line errors it reports.
    bool queues(int& in, int& out);
    // Ends the write in flight: true when it is done (or none was), false while
    // it still runs or when it failed (failed_ says which).
    bool collectWrite();
    // Ends a WaitCommEvent still pending so its OVERLAPPED may be freed;
    // false when the driver did not let go of it in time.
    bool endInputWait(void* handle);

    QString comName_;
    QString path_;
    // A HANDLE as a plain pointer, so the header needs no <windows.h>.
    std::atomic<void*> handle_{nullptr};
    // The overlapped operations and their events.
    struct Io;
    std::unique_ptr<Io> io_;
    // Line errors ClearCommError reported (and cleared) since lineErrors looked:
    // the polling thread's queue checks must not swallow them.
    std::atomic<unsigned> errors_{0};
};

} // namespace platform
