// Bytes the ZI2-Z3 bench sends on its own, as the decoder takes them: a
// packet of any length, whole or cut short. Nothing may be read past what
// arrived.
#include "base/bytes.h"
#include "devices/qv2f3/bench_packet.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TMasBytes whole(data, data + size);
    const qv2f3::TBenchDecoded d = qv2f3::prAnalyzeAnswer(whole.data(), whole.size());
    FUZZ_REQUIRE(d.received <= d.length && d.received <= whole.size());
    FUZZ_REQUIRE(!d.crcOk || d.received == d.length);
    const std::size_t missing = qv2f3::BenchBytesMissing(whole.data(), whole.size());
    FUZZ_REQUIRE(missing == 0 || missing == d.length - d.received);
    return 0;
}
