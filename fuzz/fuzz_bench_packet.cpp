// Bytes the ZI2-Z3 bench sends on its own. The first byte tells how many of
// the rest arrive in the first read; what follows comes, in the same way, in
// the completion reads. Nothing may be read past what arrived.
#include "devices/qv2f3/bench_packet.h"
#include "devices/qv2f3/bench_receive.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Exactly sized copies, so a read past the end hits the sanitizer's red zone.
TMasBytes Take(FuzzedDataProvider& in, std::size_t count) {
    return in.ConsumeBytes<std::uint8_t>(count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        const TMasBytes whole(data, data + size);
        const qv2f3::TBenchDecoded d = qv2f3::prAnalyzeAnswer(whole.data(), whole.size());
        FUZZ_REQUIRE(d.received <= d.length && d.received <= whole.size());
        FUZZ_REQUIRE(!d.crcOk || d.received == d.length);
        const std::size_t missing = qv2f3::BenchBytesMissing(whole.data(), whole.size());
        FUZZ_REQUIRE(missing == 0 || missing == d.length - d.received);
    }

    FuzzedDataProvider in(data, size);
    const TMasBytes first = Take(in, in.ConsumeIntegralInRange<std::size_t>(0, 32));
    const std::size_t waiting = in.ConsumeIntegralInRange<std::size_t>(0, 3);
    qv2f3::TBenchLine line;
    int reads = 0;
    line.read = [&](std::size_t count) {
        ++reads;
        // A reader may hand over more than it was asked for.
        return Take(in, in.ConsumeIntegralInRange<std::size_t>(0, count + 4));
    };
    line.waiting = [&] { return waiting; };
    const qv2f3::TBenchReceived r = qv2f3::TakeBenchPacket(first, line);
    FUZZ_REQUIRE(r.packet.size() <= r.length);
    FUZZ_REQUIRE(reads <= 2);
    FUZZ_REQUIRE(r.stitched == (reads == 2));
    if (!r.packet.empty()) {
        const qv2f3::TBenchDecoded d = qv2f3::prAnalyzeAnswer(r.packet.data(), r.packet.size());
        FUZZ_REQUIRE(d.length == r.length && d.received == r.packet.size());
    }
    return 0;
}
