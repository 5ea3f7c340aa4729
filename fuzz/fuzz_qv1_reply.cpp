// Replies of the RI1-R unit and of the ZI2-Z3 bench's QV1 commands, of any
// length: a short or garbled reply must leave the set alone, never be read
// past its end.
#include "devices/qv1m/qv1_frame.h"
#include "devices/qv2f3/bench_frames.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the mode index (also out of range); the rest is the reply.
    const int n = static_cast<std::int8_t>(data[0]);
    const TMasBytes reply(data + 1, data + size);

    FUZZ_REQUIRE(Qv1DecodeIdentText(reply).size() == (reply.size() >= 33 ? 32 : 0));
    const QString date = Qv1DecodeReleaseDate(reply);
    (void)Qv1DateIsSet(date);
    const int mode = Qv1DecodeCurrentMode(reply);
    FUZZ_REQUIRE(reply.size() > 32 || mode == -1);
    (void)Qv1ResultCode(reply);

    TQv1mSet set;
    const TQv1mSet before = set;
    Qv1DecodeMode(reply, set, n);
    if (reply.size() < 22 || !Qv1ModeIndexValid(n))
        FUZZ_REQUIRE(set == before);
    Qv1DecodeTimeErr(reply, set.mQV1M_s);
    Qv1DecodeVoltFlags(reply, set.mQV1M_s);
    // What was read goes back out in a request of the usual shape.
    if (Qv1ModeIndexValid(n))
        FUZZ_REQUIRE(Qv1WriteModeRequest(set, n).frame.size() == 24);
    FUZZ_REQUIRE(Qv1WriteVoltFlagsRequest(set.mQV1M_s).frame.size() == 10);

    (void)qv2f3::SessionIdent(reply);
    (void)qv2f3::ReadTimesValues(reply);
    (void)qv2f3::WriteTimesAccepted(reply);
    return 0;
}
