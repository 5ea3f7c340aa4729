// RO-4D register words as a unit or a register file hands them over: any
// values, any board generation. Showing them must not fail, and the mode
// editor restored from them must pack to words that restore to themselves.
#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/param_codec.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::uint8_t bVers = in.ConsumeIntegral<std::uint8_t>();
    TParamRegs params{};
    for (std::uint16_t& word : params)
        word = in.ConsumeIntegral<std::uint16_t>();
    std::array<std::uint16_t, kModeFieldCount> modeWords{};
    for (std::uint16_t& word : modeWords)
        word = in.ConsumeIntegral<std::uint16_t>();

    TQv4mParams p;
    int mainMode = 0;
    ShowParamWords(params, BoardVoltOpora(bVers), IsBoard2x(bVers), p, mainMode);

    TModeEditor ed;
    RestoreModeEditor(TModeWords::fromArray(modeWords), params[wFlag_Mode_1], ed);
    const TModeWords packed = PackModeWords(ed);
    TModeEditor again;
    RestoreModeEditor(packed, params[wFlag_Mode_1], again);
    FUZZ_REQUIRE(PackModeWords(again) == packed);

    // The shown page written back: a usable reference always gives words.
    TParamRegs rebuilt = params;
    const std::uint16_t flags = PackFlagMode1(p, mainMode, ed.m1.orAnd.index, ed.m2.orAnd.index);
    (void)BuildParamWords(p, flags, BoardVoltOpora(bVers), IsBoard2x(bVers), rebuilt);
    return 0;
}
