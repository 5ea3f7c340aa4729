// An in-process stand-in for a serial device, for tests: it can be slow to
// open, refuse to open, drop out in the middle of a send, and answer with
// scripted bytes after a delay, and it records everything written to it.
#pragma once

#include "platform/serial_device.h"

#include <QString>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace serial {

struct FakeChunk {
    std::vector<std::uint8_t> bytes;
    int delayMs = 0; // after the trigger (or after being queued)
};

// One fake line: its behaviour, its far end and what was done to it. Every
// device the factory makes for the same COM name shares it, so a test can
// script it before the component opens the port and read it afterwards.
class FakeSerialLine {
public:
    // -- behaviour --
    void setOpenDelay(int ms);
    // Every open fails with this code and reason (0 opens normally).
    void refuseOpen(std::uint32_t code, const QString& reason = {});
    // The device drops out once this many bytes have been written (-1: never).
    // With failAtStart a write is refused at once, else its completion wait fails.
    void dropAfter(long bytes, bool failAtStart = true);
    // Pulls the device out now: every later operation fails until reopened.
    void unplug();
    void setModemLines(const ModemLines& lines);

    // -- the far end --
    // When the written bytes end with trigger, the chunks arrive, each its delay
    // after that moment. A repeating reply answers every time, else only once.
    void addReply(const std::vector<std::uint8_t>& trigger, const std::vector<FakeChunk>& chunks,
                  bool repeat = false);
    void addReply(const std::vector<std::uint8_t>& trigger, const std::vector<std::uint8_t>& bytes,
                  int delayMs = 0, bool repeat = false);
    // Bytes that arrive delayMs from now, unasked.
    void pushInput(const std::vector<std::uint8_t>& bytes, int delayMs = 0);

    // -- record --
    std::vector<std::uint8_t> written() const;
    // The tick at which each written byte was taken.
    std::vector<std::uint32_t> writeTicks() const;
    void clearWritten();
    int opens() const;
    int closes() const;
    bool isOpen() const;
    LineSettings lastLine() const;
    bool dtr() const;
    bool rts() const;
    std::uint32_t baudRate() const;

private:
    friend class FakeSerialDevice;
    struct Rule {
        std::vector<std::uint8_t> trigger;
        std::vector<FakeChunk> chunks;
        bool repeat = false;
        bool used = false;
    };
    struct Pending {
        std::uint32_t due = 0;
        std::vector<std::uint8_t> bytes;
    };
    // All below with mutex_ held.
    void deliverDue();
    void take(const std::uint8_t* data, std::size_t count);
    void schedule(const std::vector<FakeChunk>& chunks);

    mutable std::mutex mutex_;
    // Told when input is scheduled, the line is pulled out or a wait is woken.
    std::condition_variable changed_;
    int openDelayMs_ = 0;
    std::uint32_t refuseCode_ = 0;
    QString refuseReason_;
    long dropAfter_ = -1;
    bool failAtStart_ = true;
    bool unplugged_ = false;
    ModemLines modemLines_;
    std::vector<Rule> rules_;
    std::vector<Pending> pending_;
    std::vector<std::uint8_t> input_;
    std::vector<std::uint8_t> stream_; // written since the last trigger matched
    std::vector<std::uint8_t> written_;
    std::vector<std::uint32_t> writeTicks_;
    long writtenTotal_ = 0;
    int opens_ = 0;
    int closes_ = 0;
    bool open_ = false;
    LineSettings line_;
    bool dtr_ = false;
    bool rts_ = false;
};

class FakeSerialDevice : public SerialDevice {
public:
    FakeSerialDevice(std::shared_ptr<FakeSerialLine> line, const QString& comName);
    ~FakeSerialDevice() override;

    OpenResult open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    QString devicePath() const override { return path_; }

    bool applyLine(const LineSettings& settings) override;
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
    bool modemStatus(ModemLines& lines) override;
    bool lineErrors(LineErrors& errors) override;
    long writeNow(const std::uint8_t* data, std::size_t count) override;
    long readNow(std::uint8_t* data, std::size_t count) override;
    WaitResult waitWritable(int timeoutMs) override;
    WaitResult waitReadable(int timeoutMs) override;
    WaitResult waitForInput() override;
    void wakeInputWait() override;

private:
    // The line, locked, when this device is open and not pulled out.
    std::unique_lock<std::mutex> usable(bool& ok) const;

    std::shared_ptr<FakeSerialLine> line_;
    QString path_;
    bool open_ = false;
    bool wakeRequested_ = false; // with the line's mutex held
};

// Installs fake devices as the serial port component's devices for the life
// of this object; names without a line fail to open with code 2.
class FakeSerialPorts {
public:
    FakeSerialPorts();
    ~FakeSerialPorts();
    FakeSerialPorts(const FakeSerialPorts&) = delete;
    FakeSerialPorts& operator=(const FakeSerialPorts&) = delete;

    // The line behind comName ("COM3"), made on first use.
    std::shared_ptr<FakeSerialLine> line(const QString& comName);

private:
    std::shared_ptr<std::map<QString, std::shared_ptr<FakeSerialLine>>> lines_;
};

} // namespace serial
