// The RO-4D register images: what the pages are turned into before a write,
// a save or an export, and what a file load fills.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kParamRegCount = 33;
inline constexpr int kModeRegCount = 33;
inline constexpr int kExtraWordCount = 8;
// Words 0 to 19 of the mode image are the window's mode fields.
inline constexpr int kModeFieldCount = 20;

using TParamRegs = std::array<std::uint16_t, kParamRegCount>;
using TModeRegs = std::array<std::uint16_t, kModeRegCount>;
using TExtraWords = std::array<std::uint16_t, kExtraWordCount>;

// The three images together: what a configuration file holds, what the page
// turns into before a write.
struct TRo4dImage {
    TParamRegs params{};
    TModeRegs mode{};
    TExtraWords extra{};
    bool operator==(const TRo4dImage&) const = default;
};

extern TParamRegs mParamRegs;
extern TModeRegs mModeRegs;
extern TExtraWords mExtraWords;

// All three images back to zero, as at start; for tests.
void ResetQv4mRegisters();

// Places of the parameter words, by the names the unit's register export uses.
enum TParamWord : int {
    cNumTryIsSinus = 0,
    cNumTryOff_R2 = 1,
    bNsecWorkAfterBtnUp = 2,
    wNsecWork_T_min6_M1 = 3,
    wNsecWork_T_min6_M2 = 4,
    cKoncErrTime = 5,
    cAntiDreb_ADC_B = 6,
    cAntiDreb_ADC_E = 7,
    cAntiDrebR = 8,
    wNsecWork_T_end = 9,
    wTest_Lvl_DO = 10,
    cVolt_Lvl_L = 11,
    bVoltRef = 12,
    wBut_Lvl_DO = 13,
    wBut_Lvl_UD = 14,
    wBut_Lvl_SC = 15,
    wSig_Lvl_DO = 16,
    wSig_Lvl_UD = 17,
    wSig_Lvl_SC = 18,
    wFlag_Mode_1 = 19,
    bNsecWorkAfterBtnUp_3 = 20,
    bValue_T_wait = 21,
    cVolt_Lvl_TimePeriod = 22,
    wFlagCheck_But_Sig_SW_OZ = 24,
};

// Signal bits shared by every word that names line signals.
namespace sig {
inline constexpr std::uint16_t K1 = 0x0001;
inline constexpr std::uint16_t K3 = 0x0004;
inline constexpr std::uint16_t C1 = 0x0010;
inline constexpr std::uint16_t C3 = 0x0040;
inline constexpr std::uint16_t Switch1 = 0x0100;
inline constexpr std::uint16_t Switch2 = 0x0200;
inline constexpr std::uint16_t Switch3 = 0x0400;
inline constexpr std::uint16_t Switch4 = 0x0800;
inline constexpr std::uint16_t Op = 0x1000;
inline constexpr std::uint16_t Zp = 0x2000;
// The six line signals (no board switches).
inline constexpr std::uint16_t Lines = K1 | K3 | C1 | C3 | Op | Zp;
} // namespace sig

// Boards of generation 2.0 and 2.1 have the M1/M2 test line and the ADC read-out.
inline bool IsBoard2x(std::uint8_t bVers) {
    return bVers == 0x20 || bVers == 0x21;
}
// Full scale of the reference code (code 255) for a board generation.
inline double BoardVoltOpora(std::uint8_t bVers) {
    return IsBoard2x(bVers) ? 3.63 : 5.5;
}
