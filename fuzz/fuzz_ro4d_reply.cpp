// RO-4D replies of any length: version, parameter pages, errors. A short or
// garbled reply must not be read past its end, and every page decodes.
#include "devices/qv4m/ro4d_read_decode.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the page; the rest is the reply.
    const int page = data[0] % kRo4dPageCount;
    const TMasBytes reply(data + 1, data + size);

    const QString version = VersionText(reply);
    const std::uint8_t generation = BoardGeneration(version);
    (void)ErrorsOf(reply);
    for (int k = 0; k < kRo4dPageWords; ++k)
        (void)ReplyWord(reply, k);

    TQv4mParams p;
    int mainMode = 0;
    TReadCarry carry;
    DecodeReadPage(page, PageWords(reply), BoardVoltOpora(generation), IsBoard2x(generation), p,
                   mainMode, carry);
    return 0;
}
