#include "devices/qv4m/ro4d_read_decode.h"

#include "devices/qv4m/number_text.h"

namespace {

std::uint16_t low(std::uint16_t word) {
    return word & 0xFF;
}

void decodeTimes(const std::array<std::uint16_t, kRo4dPageWords>& w, TQv4mParams& p) {
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

void decodeReferenceAndButtons(const std::array<std::uint16_t, kRo4dPageWords>& w,
                               double rVoltOpora, bool board2x, TQv4mParams& p, TReadCarry& carry) {
    carry.vrefShown = RefVolts(low(w[4]), rVoltOpora);
    const auto volts = [&carry](std::uint16_t code) {
        return FormatVolts(CodeVolts(code, carry.vrefShown));
    };
    p.VoltOpora = FormatVolts(carry.vrefShown);
    p.TimeAntidrebRele = WholeText(low(w[0]), 2);
    p.T_end = WholeText(w[1]);
    // Word 2 is wTest_Lvl_DO and word 3 cVolt_Lvl_L. Older boards keep their
    // single lower test limit in cVolt_Lvl_L (the write puts it there and
    // zero in wTest_Lvl_DO), so it is shown from word 3 on them too.
    if (board2x) {
        p.Edit1 = volts(w[2]);
        p.Edit2 = volts(w[3]);
    } else {
        p.VoltLowTestMotor = volts(w[3]);
    }
    p.VoltHiBtn = volts(w[5]);
    p.VoltDnBtn = volts(w[6]);
    p.VoltLoBtn = volts(w[7]);
}

} // namespace

void DecodeReadPage(int page, const std::array<std::uint16_t, kRo4dPageWords>& words,
                    double rVoltOpora, bool board2x, TQv4mParams& p, int& mainMode,
                    TReadCarry& carry) {
    const auto volts = [&carry](std::uint16_t code) {
        return FormatVolts(CodeVolts(code, carry.vrefShown));
    };
    switch (page) {
    case 0:
        decodeTimes(words, p);
        break;
    case 1:
        decodeReferenceAndButtons(words, rVoltOpora, board2x, p, carry);
        break;
    case 2:
        p.VoltHiSig = volts(words[0]);
        p.VoltDnSig = volts(words[1]);
        p.VoltLoSig = volts(words[2]);
        carry.flagMode1 = words[3];
        UnpackFlagMode1(words[3], p, mainMode);
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
