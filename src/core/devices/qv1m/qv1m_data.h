// The RI1-R data set as the program holds it: seven modes of three channels
// and one block of common settings.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kQv1ModeCount = 7;
inline constexpr int kQv1ChannelCount = 3;

// One channel of one mode.
struct RQV1M_val1 {
    std::uint16_t wTimePrevOn = 0;  // Ton
    std::uint16_t wTime6sec = 0;    // T6sec
    std::uint16_t wTimePrevOff = 0; // Toff
    std::uint8_t bFlag = 0;
    bool operator==(const RQV1M_val1&) const = default;
};

// bFlag bits.
inline constexpr std::uint8_t kQv1FlagAlternate = 0x01; // "попеременно", else "удержание"
inline constexpr std::uint8_t kQv1FlagByTime = 0x02; // "по времени", else "по кнопке"
inline constexpr std::uint8_t kQv1FlagFaultCheck = 0x04; // "контроль аварии"
inline constexpr std::uint8_t kQv1FlagInverse = 0x08;    // "инверсный"

// One channel over the seven modes (index 0 is mode 1).
using TQV1M = std::array<RQV1M_val1, kQv1ModeCount>;

// Common settings.
struct RQV1M_val2 {
    std::uint8_t bTimePausePrevErr_K1 = 0;
    std::uint8_t bTimePausePrevErr_K2 = 0;
    std::uint8_t bTimePausePrevErr_K3 = 0;
    std::uint8_t bFlagMode_E = 0;
    double rVolt = 0.0;
    std::uint16_t wBut_Lvl_DO = 0;
    std::uint16_t wBut_Lvl_UD = 0;
    std::uint16_t wBut_Lvl_SC = 0;
    bool operator==(const RQV1M_val2&) const = default;
};

// bFlagMode_E bits.
inline constexpr std::uint8_t kQv1ModeFaultLatch = 0x01;   // CheckBox3
inline constexpr std::uint8_t kQv1ModeInvertInputs = 0x02; // CheckBox4

struct TQv1mSet {
    TQV1M mQV1M_1{};
    TQV1M mQV1M_2{};
    TQV1M mQV1M_3{};
    RQV1M_val2 mQV1M_s{};

    // Channel c (1..3) of the seven modes.
    TQV1M& channel(int c) { return c == 1 ? mQV1M_1 : c == 2 ? mQV1M_2 : mQV1M_3; }
    const TQV1M& channel(int c) const { return c == 1 ? mQV1M_1 : c == 2 ? mQV1M_2 : mQV1M_3; }
    bool operator==(const TQv1mSet&) const = default;
};

inline bool Qv1ModeIndexValid(int n) {
    return n >= 0 && n < kQv1ModeCount;
}

// Whether mode index n lets the user edit channel c (1..3): mode 2 drives
// channel 1 only, modes 3 and 4 channels 1 and 2.
bool Qv1ChannelEditable(int n, int c);

// What the two radio groups of a channel allow in its time edits.
struct TQv1ChannelRule {
    bool tonEnabled = true;
    bool t6secEnabled = true;
    bool toffEnabled = true;
    const char* tonHint = "";
    const char* t6secHint = "";
    const char* toffHint = "";
};
// alternate: "Управление реле" on "попеременно"; byTime: "Работа реле" on "по времени".
TQv1ChannelRule Qv1ChannelRule(bool alternate, bool byTime);
