#include "devices/qv4m/param_codec.h"

#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/shown_codes.h"

#include <cmath>

namespace {

struct TWholeField {
    int word;
    QString TQv4mParams::*text;
    unsigned scale;
};

// Whole-number words; the scale divides on the way in and multiplies on the way out.
constexpr TWholeField kWholeFields[] = {
    {cNumTryIsSinus, &TQv4mParams::TimeSearchSinus, 2},
    {cNumTryOff_R2, &TQv4mParams::NumOfCycleReleSwitch, 1},
    {bNsecWorkAfterBtnUp, &TQv4mParams::T_off, 1},
    {wNsecWork_T_min6_M1, &TQv4mParams::T_min6a, 1},
    {wNsecWork_T_min6_M2, &TQv4mParams::T_min6b, 1},
    {cKoncErrTime, &TQv4mParams::T_240, 1},
    {cAntiDreb_ADC_B, &TQv4mParams::TimeAntidrebADC, 20},
    {cAntiDreb_ADC_E, &TQv4mParams::TimeAntidrebWarning, 20},
    {cAntiDrebR, &TQv4mParams::TimeAntidrebRele, 2},
    {wNsecWork_T_end, &TQv4mParams::T_end, 1},
    {bNsecWorkAfterBtnUp_3, &TQv4mParams::TimeMode3, 1},
    {bValue_T_wait, &TQv4mParams::T_wait, 1},
    {cVolt_Lvl_TimePeriod, &TQv4mParams::PeriodTimeTest, 1},
};

struct TVoltField {
    int word;
    QString TQv4mParams::*text;
};

constexpr TVoltField kThresholds[] = {
    {wBut_Lvl_DO, &TQv4mParams::VoltHiBtn}, {wBut_Lvl_UD, &TQv4mParams::VoltDnBtn},
    {wBut_Lvl_SC, &TQv4mParams::VoltLoBtn}, {wSig_Lvl_DO, &TQv4mParams::VoltHiSig},
    {wSig_Lvl_UD, &TQv4mParams::VoltDnSig}, {wSig_Lvl_SC, &TQv4mParams::VoltLoSig},
};

struct TFlagBit {
    std::uint16_t mask;
    bool TQv4mParams::*option;
};

constexpr TFlagBit kOptionBits[] = {
    {0x0001, &TQv4mParams::CheckBox1},    {0x0002, &TQv4mParams::NoWaitOffBtn},
    {0x0008, &TQv4mParams::CheckBox16},   {0x0800, &TQv4mParams::CheckBox19},
    {0x1000, &TQv4mParams::IfBadK3OffM1},
};

constexpr std::uint16_t kModeUnusedBit = 0x0004;
constexpr std::uint16_t kOrM1Bit = 0x0020;
constexpr std::uint16_t kOrM2Bit = 0x0040;
constexpr std::uint16_t kDispatcherC3Bit = 0x0080;
constexpr std::uint16_t kModeAfterM1Bits = 0x0300;
constexpr std::uint16_t kModeAfterM1Bit = 0x0100;

// Line signals of the matrix, paired with their rows.
constexpr std::pair<int, std::uint16_t> kLineRows[] = {
    {msK1, sig::K1}, {msK3, sig::K3}, {msOp, sig::Op},
    {msZp, sig::Zp}, {msC1, sig::C1}, {msC3, sig::C3},
};

bool rowUsed(const TModeEditor& ed, int row) {
    return ed.m1.start[row].checked || ed.m2.start[row].checked || ed.m1.stop[row].checked ||
           ed.m2.stop[row].checked;
}

} // namespace

bool IsUsableVref(double vref) {
    return std::isfinite(vref) && vref > 0.0;
}

QString UnusableVrefMessage() {
    return QStringLiteral("Опорное напряжение должно быть числом больше нуля. "
                          "Данные не сформированы.");
}

std::uint16_t AdcCode(double volts, double vref) {
    return RoundToLow16(volts * 1024.0 / vref);
}

std::uint16_t RefCode(double vref, double rVoltOpora) {
    return RoundToLow16(vref * 255.0 / rVoltOpora);
}

double RefVolts(std::uint16_t code, double rVoltOpora) {
    return code * rVoltOpora / 255.0;
}

double CodeVolts(std::uint16_t code, double vrefShown) {
    return code * vrefShown / 1024.0;
}

std::uint16_t WholeWord(const QString& text, unsigned divisor) {
    const auto low16 = static_cast<std::uint16_t>(static_cast<std::uint32_t>(LenientToInt(text)));
    return static_cast<std::uint16_t>(low16 / divisor);
}

QString WholeText(std::uint16_t word, unsigned multiplier) {
    return QString::number(static_cast<std::uint32_t>(word) * multiplier);
}

std::uint16_t UsedLineSignals(const TModeEditor& ed, bool checkBox19, int radioGroup2) {
    std::uint16_t used = 0;
    for (const auto& [row, bit] : kLineRows)
        if (rowUsed(ed, row))
            used |= bit;
    if (checkBox19 || radioGroup2 == 0)
        used |= sig::C1;
    if (checkBox19 || radioGroup2 == 1)
        used |= sig::C3;
    return used;
}

std::uint16_t AdjustLineChecks(std::uint16_t lineChecks, std::uint16_t used, bool blockFree) {
    std::uint16_t out = lineChecks | (used & sig::Lines);
    if (blockFree)
        out &= static_cast<std::uint16_t>(~(sig::Lines & ~used));
    return out;
}

std::uint16_t PackFlagMode1(const TQv4mParams& p, int mainMode, int orAndM1, int orAndM2) {
    std::uint16_t w = 0;
    for (const TFlagBit& b : kOptionBits)
        if (p.*b.option)
            w |= b.mask;
    if (mainMode == kModeM2Unused)
        w |= kModeUnusedBit;
    if (orAndM1 == kOrAndOr)
        w |= kOrM1Bit;
    if (orAndM2 == kOrAndOr)
        w |= kOrM2Bit;
    if (p.RadioGroup2 == 1)
        w |= kDispatcherC3Bit;
    if (mainMode == kModeM2AfterM1)
        w |= kModeAfterM1Bits;
    return w;
}

void UnpackFlagMode1(std::uint16_t word, TQv4mParams& p, int& mainMode) {
    for (const TFlagBit& b : kOptionBits)
        p.*b.option = word & b.mask;
    p.RadioGroup2 = (word & kDispatcherC3Bit) ? 1 : 0;
    if (word & kModeUnusedBit)
        mainMode = kModeM2Unused;
    else if (word & kModeAfterM1Bit)
        mainMode = kModeM2AfterM1;
    else
        mainMode = kModeIndependent;
}

bool BuildParamWords(const TQv4mParams& p, std::uint16_t flagMode1, double rVoltOpora, bool board2x,
                     TParamRegs& regs, const TShownCodes* shown) {
    const double vref = LenientToDouble(p.VoltOpora);
    if (!IsUsableVref(vref))
        return false;
    const auto keptCode = [&](TVoltEntry entry) {
        return shown ? shown->kept(p, entry) : std::nullopt;
    };
    const auto adc = [&](TVoltEntry entry) {
        return keptCode(entry).value_or(AdcCode(LenientToDouble(p.*entry), vref));
    };

    for (const TWholeField& f : kWholeFields)
        regs[f.word] = WholeWord(p.*f.text, f.scale);
    regs[wTest_Lvl_DO] = board2x ? adc(&TQv4mParams::Edit1) : 0;
    regs[cVolt_Lvl_L] = adc(board2x ? &TQv4mParams::Edit2 : &TQv4mParams::VoltLowTestMotor);
    regs[bVoltRef] = keptCode(&TQv4mParams::VoltOpora).value_or(RefCode(vref, rVoltOpora));
    for (const TVoltField& f : kThresholds)
        regs[f.word] = adc(f.text);
    regs[wFlag_Mode_1] = flagMode1;
    regs[wFlagCheck_But_Sig_SW_OZ] = p.LineChecks;
    return true;
}

void ShowParamWords(const TParamRegs& regs, double rVoltOpora, bool board2x, TQv4mParams& p,
                    int& mainMode, TShownCodes* shown) {
    for (const TWholeField& f : kWholeFields)
        p.*f.text = WholeText(regs[f.word], f.scale);
    if (shown)
        shown->clear();
    const TVoltShower shower(p, RefVolts(regs[bVoltRef], rVoltOpora), shown);
    shower.reference(regs[bVoltRef]);
    if (board2x) {
        shower.volts(&TQv4mParams::Edit1, regs[wTest_Lvl_DO]);
        shower.volts(&TQv4mParams::Edit2, regs[cVolt_Lvl_L]);
    } else {
        shower.volts(&TQv4mParams::VoltLowTestMotor, regs[cVolt_Lvl_L]);
    }
    for (const TVoltField& f : kThresholds)
        shower.volts(f.text, regs[f.word]);
    UnpackFlagMode1(regs[wFlag_Mode_1], p, mainMode);
    p.LineChecks = static_cast<std::uint16_t>((p.LineChecks & ~sig::Lines) |
                                              (regs[wFlagCheck_But_Sig_SW_OZ] & sig::Lines));
}
