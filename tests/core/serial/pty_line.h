// A unit played by the test on the master side of a pseudo-terminal, with
// the slave registered in the port map as a COM port.
#pragma once

#include "exchange_port.h"
#include "platform/pty.h"
#include "serial/com_port.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace serialtest {

using Clock = std::chrono::steady_clock;

// Opens a pseudo-terminal and links COM<number> in the ports folder to its
// slave. The sysfs root is pointed at an empty folder, so only this entry counts.
class PtyPort {
public:
    explicit PtyPort(int number = 7);
    ~PtyPort();
    bool ok() const { return ok_; }
    QString comName() const { return comName_; }
    platform::PseudoTerminal& pty() { return pty_; }

private:
    platform::PseudoTerminal pty_;
    QString comName_;
    QString link_;
    bool ok_ = false;
};

// Reads the master side on a thread of its own and stamps each byte on arrival.
class LineRecorder {
public:
    explicit LineRecorder(int masterFd);
    ~LineRecorder();
    struct Arrival {
        std::uint8_t byte;
        Clock::time_point at;
    };
    std::vector<Arrival> arrivals() const;
    std::size_t count() const;
    void clear();

private:
    void run();
    int fd_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Arrival> arrivals_;
    std::thread thread_;
};

double Ms(Clock::duration d);

} // namespace serialtest
