// rs_m.ini as found on disk: any bytes. Whatever is read must survive being
// written and read back: same values, a digest that matches, no rewrite.
#include "fuzz_check.h"
#include "port/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TSettingsRead read = ReadSettingsText(InputBytes(data, size));
    FUZZ_REQUIRE(read.PortsRead >= 0 && read.PortsRead <= kNumChannels);
    FUZZ_REQUIRE(read.Flags.size() >= 7);
    const TSettingsValues values = ValuesFromRead(read);

    TSavedPortNames names;
    for (int k = 0; k < kSavedChannels; ++k)
        names[static_cast<std::size_t>(k)] = read.PortName[static_cast<std::size_t>(k)];
    const TSettingsRead again = ReadSettingsText(SettingsText(values, names));
    FUZZ_REQUIRE(!again.Rewrite);
    FUZZ_REQUIRE(again.PortsRead == kSavedChannels);
    const TSettingsValues back = ValuesFromRead(again);
    FUZZ_REQUIRE(back.TimeOut == values.TimeOut);
    FUZZ_REQUIRE(back.PreSendPause == values.PreSendPause);
    FUZZ_REQUIRE(back.NumOfRepeat == values.NumOfRepeat);
    FUZZ_REQUIRE(back.LogFontSize == values.LogFontSize && back.LogHex == values.LogHex);
    FUZZ_REQUIRE(back.FiksDtrRts == values.FiksDtrRts && back.DtrOn == values.DtrOn);
    FUZZ_REQUIRE(back.RtsOn == values.RtsOn && back.LogOldestFirst == values.LogOldestFirst);

    // The file written after a damaged one must itself read as sound.
    FUZZ_REQUIRE(!ReadSettingsText(RewrittenSettingsText(read)).Rewrite);
    return 0;
}
