// An in-memory device for the one case a real line cannot stage on demand:
// a reply whose tail lands just after the first read has timed out. The head
// comes when the request is in; the tail becomes waiting only once the engine
// holds the head as its reply, which is exactly when it looks for a tail.
#pragma once

#include "platform/serial_device.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace enginetest {

class SplitReplyDevice : public serial::SerialDevice {
public:
    struct Script {
        std::size_t requestLength = 0;
        std::vector<std::uint8_t> head;
        std::vector<std::uint8_t> tail;
    };
    explicit SplitReplyDevice(Script script) : script_(std::move(script)) {}

    serial::OpenResult open() override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    QString devicePath() const override { return QStringLiteral("memory:split-reply"); }
    bool applyLine(const serial::LineSettings&) override { return true; }
    bool readBaudRate(std::uint32_t& baud) override;
    bool setBaudRate(std::uint32_t) override { return true; }
    bool setDtr(bool) override { return true; }
    bool setRts(bool) override { return true; }
    bool setBreak(bool) override { return true; }
    bool setXon(bool) override { return true; }
    bool purge(bool input, bool output) override;
    bool transmitChar(std::uint8_t ch) override { return writeNow(&ch, 1) == 1; }
    int inputCount() override;
    int outputCount() override { return 0; }
    bool modemStatus(serial::ModemLines& lines) override;
    bool lineErrors(serial::LineErrors& errors) override;
    long writeNow(const std::uint8_t* data, std::size_t count) override;
    long readNow(std::uint8_t* data, std::size_t count) override;
    serial::WaitResult waitWritable(int) override { return serial::WaitResult::Ready; }
    serial::WaitResult waitReadable(int timeoutMs) override;

private:
    Script script_;
    bool open_ = false;
    std::mutex mutex_;
    std::vector<std::uint8_t> written_;
    std::vector<std::uint8_t> input_;
    bool tailGiven_ = false;
};

} // namespace enginetest
