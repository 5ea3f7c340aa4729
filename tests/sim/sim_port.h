// The program's end of a pseudo-terminal, opened with plain open() in raw
// mode, for the simulator tests that serve a line.
#pragma once

#include "sim_test_util.h"

#include <QString>

namespace simtest {

// The program's side of the line.
class Port {
public:
    explicit Port(const QString& path);
    ~Port();
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    bool send(const Bytes& bytes);
    // Reads until count bytes have come or timeoutMs has passed.
    Bytes read(std::size_t count, int timeoutMs);
    // What arrives within timeoutMs (stops early once something came and the
    // line has been quiet for quietMs).
    Bytes readAny(int timeoutMs, int quietMs = 30);
    // True when the line has hung up (the unit's side was closed).
    bool hungUp(int timeoutMs);

private:
    // Stops at count bytes, at the time-out, or (quietMs >= 0) once something
    // came and the line has been quiet for quietMs.
    Bytes readUntil(std::size_t count, int timeoutMs, int quietMs);

    int fd_ = -1;
};

} // namespace simtest
