#include "sim_test_util.h"

#include "platform/clock.h"

namespace simtest {

std::vector<sim::Outgoing> AskPieces(sim::SimUnit& unit, const Bytes& request) {
    return unit.feed(request, platform::TickCount());
}

Bytes Ask(sim::SimUnit& unit, const Bytes& request) {
    Bytes all;
    for (const auto& piece : AskPieces(unit, request))
        all.insert(all.end(), piece.bytes.begin(), piece.bytes.end());
    return all;
}

} // namespace simtest
