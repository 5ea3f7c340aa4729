// Taking one bench packet out of a background read. The bench sends a packet
// in one go, but the line may hand it over in pieces: a packet that came short
// is completed by at most two further reads of the bytes still missing.
#pragma once

#include "exchange/frame.h"

#include <cstddef>
#include <functional>

namespace qv2f3 {

// The port as the completion sees it: a timed read of at most `count` bytes
// (returns what arrived, possibly nothing) and the count of bytes waiting.
struct TBenchLine {
    std::function<TMasBytes(std::size_t count)> read;
    std::function<std::size_t()> waiting;
};

struct TBenchReceived {
    TMasBytes packet;       // the packet's bytes that arrived, never more than its length
    std::size_t length = 0; // its full length; 0 when the read starts with no packet type
    bool completed = false; // a completion read was made
    bool stitched = false;  // a second completion read was needed
};

// The packet the read starts with. Bytes after it (a second packet in the same
// read, garbage) are dropped; a read that starts with no type letter yields no
// packet and makes no further read.
TBenchReceived TakeBenchPacket(const TMasBytes& firstRead, const TBenchLine& line);

} // namespace qv2f3
