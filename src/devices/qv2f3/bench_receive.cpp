#include "devices/qv2f3/bench_receive.h"

#include "devices/qv2f3/bench_packet.h"

#include <algorithm>

namespace qv2f3 {

namespace {

// Appends what one read of the missing bytes brings; a reader that returns
// more than it was asked for cannot make the packet grow past its length.
void readMissing(TBenchReceived& r, const TBenchLine& line) {
    if (!line.read)
        return;
    const std::size_t missing = r.length - r.packet.size();
    const TMasBytes more = line.read(missing);
    const std::size_t take = std::min(missing, more.size());
    r.packet.insert(r.packet.end(), more.begin(), more.begin() + static_cast<std::ptrdiff_t>(take));
}

} // namespace

TBenchReceived TakeBenchPacket(const TMasBytes& firstRead, const TBenchLine& line) {
    TBenchReceived r;
    if (firstRead.empty())
        return r;
    r.length = BenchPacketLength(firstRead[0]);
    if (r.length == 0)
        return r;
    const std::size_t take = std::min(r.length, firstRead.size());
    r.packet.assign(firstRead.begin(), firstRead.begin() + static_cast<std::ptrdiff_t>(take));
    if (r.packet.size() == r.length)
        return r;
    r.completed = true;
    readMissing(r, line);
    if (r.packet.size() < r.length && line.waiting && line.waiting() > 0) {
        r.stitched = true;
        readMissing(r, line);
    }
    return r;
}

} // namespace qv2f3
