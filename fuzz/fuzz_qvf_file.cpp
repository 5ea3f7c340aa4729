// An RO-4D configuration file as found on disk: any bytes, any length. What a
// load takes, saved and loaded again, gives the same register images.
#include "devices/qv4m/qv4m_files.h"
#include "fuzz_check.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TParamRegs params{};
    TModeRegs mode{};
    TExtraWords extra{};
    const int taken = LoadConfigWords(InputBytes(data, size), params, mode, extra);
    FUZZ_REQUIRE(taken >= 0 && taken <= kConfigFileWords - 1);
    FUZZ_REQUIRE(taken == std::min<int>(static_cast<int>(size / 2), kConfigFileWords - 1));
    FUZZ_REQUIRE(extra[kExtraWordCount - 1] == 0);

    const QByteArray saved = ConfigFileBytes(params, mode, extra);
    FUZZ_REQUIRE(saved.size() == kConfigFileBytes);
    TParamRegs params2{};
    TModeRegs mode2{};
    TExtraWords extra2{};
    (void)LoadConfigWords(saved, params2, mode2, extra2);
    FUZZ_REQUIRE(params2 == params && mode2 == mode && extra2 == extra);
    FUZZ_REQUIRE(RegExportText(params, mode).count("\r\n") == 43);
    return 0;
}
