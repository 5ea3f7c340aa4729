#include "devices/qv4m/ro4d_read_decode.h"

#include "devices/qv4m/shown_codes.h"

namespace {

using TWords = std::array<std::uint16_t, kRo4dPageWords>;

std::uint16_t low(std::uint16_t word) {
    return word & 0xFF;
}

void decodeTimes(const TWords& w, TQv4mParams& p) {
    // The unit keeps these in bytes; the high byte of each word is not theirs.
    p.TimeSearchSinus = WholeText(low(w[0]), 2);
    p.NumOfCycleReleSwitch = WholeText(low(w[1]));
    p.T_off = WholeText(low(w[2]));
    p.T_min6a = WholeText(low(w[3]));
    p.T_min6b = WholeText(low(w[4]));
    p.T_240 = WholeText(low(w[5]));
    p.TimeAntidrebADC = WholeText(low(w[6]), 20);
    p.TimeAntidrebWarning = WholeText(low(w[7]), 20);
}

void decodeReferenceAndButtons(const TWords& w, double rVoltOpora, bool board2x, TQv4mParams& p,
                               TReadCarry& carry, TShownCodes* shown) {
    carry.vrefShown = RefVolts(low(w[4]), rVoltOpora);
    const TVoltShower shower(p, carry.vrefShown, shown);
    shower.reference(low(w[4]));
    p.TimeAntidrebRele = WholeText(low(w[0]), 2);
    p.T_end = WholeText(w[1]);
    // Word 2 is wTest_Lvl_DO and word 3 cVolt_Lvl_L. Older boards keep their
    // single lower test limit in cVolt_Lvl_L (the write puts it there and
    // zero in wTest_Lvl_DO), so it is shown from word 3 on them too.
    if (board2x) {
        shower.volts(&TQv4mParams::Edit1, w[2]);
        shower.volts(&TQv4mParams::Edit2, w[3]);
    } else {
        shower.volts(&TQv4mParams::VoltLowTestMotor, w[3]);
    }
    shower.volts(&TQv4mParams::VoltHiBtn, w[5]);
    shower.volts(&TQv4mParams::VoltDnBtn, w[6]);
    shower.volts(&TQv4mParams::VoltLoBtn, w[7]);
}

void decodeSignalsAndOptions(const TWords& w, TQv4mParams& p, int& mainMode, TReadCarry& carry,
                             TShownCodes* shown) {
    const TVoltShower shower(p, carry.vrefShown, shown);
    shower.volts(&TQv4mParams::VoltHiSig, w[0]);
    shower.volts(&TQv4mParams::VoltDnSig, w[1]);
    shower.volts(&TQv4mParams::VoltLoSig, w[2]);
    carry.flagMode1 = w[3];
    UnpackFlagMode1(w[3], p, mainMode);
    // Words 4 to 6 are parameter registers 20 to 22, where the write puts
    // these three: shown, so that a write sends back what the unit holds.
    p.TimeMode3 = WholeText(w[4]);
    p.T_wait = WholeText(w[5]);
    p.PeriodTimeTest = WholeText(w[6]);
}

} // namespace

void DecodeReadPage(int page, const TWords& words, double rVoltOpora, bool board2x, TQv4mParams& p,
                    int& mainMode, TReadCarry& carry, TShownCodes* shown) {
    switch (page) {
    case 0:
        decodeTimes(words, p);
        break;
    case 1:
        decodeReferenceAndButtons(words, rVoltOpora, board2x, p, carry, shown);
        break;
    case 2:
        decodeSignalsAndOptions(words, p, mainMode, carry, shown);
        break;
    case 3:
        // Only the six line boxes; the board switches are set on the board.
        p.LineChecks =
            static_cast<std::uint16_t>((p.LineChecks & ~sig::Lines) | (words[0] & sig::Lines));
        break;
    default:
        for (int k = 0; k < kRo4dPageWords; ++k) {
            const int at = (page - 4) * kRo4dPageWords + k;
            if (page >= 4 && at < kModeFieldCount)
                carry.modeWords[static_cast<std::size_t>(at)] = words[static_cast<std::size_t>(k)];
        }
        break;
    }
}
