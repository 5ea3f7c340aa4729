// Helpers of the simulator tests: feeding a unit directly, and a program's
// end of a pseudo-terminal opened with plain open() in raw mode.
#pragma once

#include "sim_unit.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <vector>

namespace simtest {

using sim::Bytes;

// Feeds one request and returns every reply byte, faults applied, in order.
Bytes Ask(sim::SimUnit& unit, const Bytes& request);
// The same, keeping the pieces with their delays.
std::vector<sim::Outgoing> AskPieces(sim::SimUnit& unit, const Bytes& request);

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

// Milliseconds since start.
inline long ElapsedMs(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
}

} // namespace simtest
