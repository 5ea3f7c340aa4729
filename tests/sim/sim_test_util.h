// Helpers of the simulator tests: feeding a unit directly.
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

// Milliseconds since start.
inline long ElapsedMs(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
}

} // namespace simtest
