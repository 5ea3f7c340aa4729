#include "devices/qv4m/param_checks.h"

#include "devices/qv4m/ro4d_compare.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kByte = 255;
// A word of all ones is what a unit holds where nothing was ever written.
constexpr int kWord = 65534;
// Thresholds are ADC codes of a 10-bit converter: the reference is 1024.
constexpr int kAdcFull = 1024;

struct TWholeEntry {
    QString TQv4mParams::*text;
    int word;
    const char* registerName;
    const char* caption;
    const char* unit;
    int scale; // page value = word * scale
};

int widest(int word) {
    return Ro4dKeptAsByte(word) ? kByte : kWord;
}

const TWholeEntry kWholeEntries[] = {
    {&TQv4mParams::TimeSearchSinus, 0, "cNumTryIsSinus", "Отслеживание синусов напряжений", "мс",
     2},
    {&TQv4mParams::NumOfCycleReleSwitch, 1, "cNumTryOff_R2",
     "Число циклов ожидания переключения реле К2, K3", "шт", 1},
    {&TQv4mParams::T_off, 2, "bNsecWorkAfterBtnUp", "T_off", "сек", 1},
    {&TQv4mParams::T_min6a, 3, "wNsecWork_T_min6_M1", "T_min6 (M1)", "сек", 1},
    {&TQv4mParams::T_min6b, 4, "wNsecWork_T_min6_M2", "T_min6 (M2)", "сек", 1},
    {&TQv4mParams::T_240, 5, "cKoncErrTime", "T_240", "сек", 1},
    {&TQv4mParams::TimeAntidrebADC, 6, "cAntiDreb_ADC_B/10", "Антидребезг для АЦП сигналов", "мс",
     20},
    {&TQv4mParams::TimeAntidrebWarning, 7, "cAntiDreb_ADC_E/10",
     "Антидребезг определения аварийных состояний", "мс", 20},
    {&TQv4mParams::TimeAntidrebRele, 8, "cAntiDrebR", "Антидребезг переключения реле", "мс", 2},
    {&TQv4mParams::T_end, 9, "wNsecWork_T_end", "T_end", "сек", 1},
    {&TQv4mParams::TimeMode3, 20, "bNsecWorkAfterBtnUp_3", "T_mode3", "с", 1},
    {&TQv4mParams::T_wait, 21, "bValue_T_wait", "T_wait", "сек", 1},
    {&TQv4mParams::PeriodTimeTest, 22, "cVolt_Lvl_TimePeriod",
     "Период тестирования питающих линий M1/M2", "с", 1},
};

struct TVoltEntryInfo {
    QString TQv4mParams::*text;
    int word;
    const char* registerName;
    const char* caption;
};

const TVoltEntryInfo kThresholds[] = {
    {&TQv4mParams::VoltHiBtn, 13, "wBut_Lvl_DO", "Линии кнопок: порог обрыва"},
    {&TQv4mParams::VoltDnBtn, 14, "wBut_Lvl_UD", "Линии кнопок: порог нажатия"},
    {&TQv4mParams::VoltLoBtn, 15, "wBut_Lvl_SC", "Линии кнопок: порог К.З."},
    {&TQv4mParams::VoltHiSig, 16, "wSig_Lvl_DO", "Линии сигналов концевиков: порог обрыва"},
    {&TQv4mParams::VoltDnSig, 17, "wSig_Lvl_UD", "Линии сигналов концевиков: порог сигнала"},
    {&TQv4mParams::VoltLoSig, 18, "wSig_Lvl_SC", "Линии сигналов концевиков: порог К.З."},
};
const TVoltEntryInfo kTestLine2x[] = {
    {&TQv4mParams::Edit1, 10, "wTest_Lvl_DO", "Линия тестирования М1/М2: порог обрыва"},
    {&TQv4mParams::Edit2, 11, "cVolt_Lvl_L", "Линия тестирования М1/М2: порог К.З."},
};
const TVoltEntryInfo kTestLine{&TQv4mParams::VoltLowTestMotor, 11, "cVolt_Lvl_L",
                               "Нижний предел при тесте M1/M2"};
const TVoltEntryInfo kReference{&TQv4mParams::VoltOpora, 12, "bVoltRef", "Опорное напряжение"};

// The smallest reference with a code above 0, to whole hundredths.
double lowestReference(double rVoltOpora) {
    return std::ceil(rVoltOpora / kByte * 100.0) / 100.0;
}

} // namespace

std::vector<TRo4dEntry> Ro4dEntries(const TQv4mParams& p, double rVoltOpora, bool board2x) {
    std::vector<TRo4dEntry> entries;
    for (const TWholeEntry& e : kWholeEntries)
        entries.push_back(
            {e.text,
             {QString::fromUtf8(e.caption),
              TEntryRule::Whole(0, widest(e.word) * e.scale, QString::fromUtf8(e.unit), e.scale)}});
    const TEntryRule reference =
        TEntryRule::Decimal(lowestReference(rVoltOpora), rVoltOpora, QStringLiteral("В"));
    entries.push_back({kReference.text, {QString::fromUtf8(kReference.caption), reference}});
    // Thresholds are measured against the reference typed on the page; while
    // that is not a value, only their own form is checked.
    const bool vrefFits = !EntryFault(reference, p.VoltOpora);
    const double vref =
        vrefFits ? QString(p.VoltOpora).replace(QLatin1Char(','), QLatin1Char('.')).toDouble()
                 : HUGE_VAL;
    auto threshold = [&](const TVoltEntryInfo& e) {
        TEntryRule rule = TEntryRule::Decimal(0, vref, QStringLiteral("В"));
        entries.push_back({e.text, {QString::fromUtf8(e.caption), rule}});
    };
    if (board2x)
        std::for_each(std::begin(kTestLine2x), std::end(kTestLine2x), threshold);
    else
        threshold(kTestLine);
    std::for_each(std::begin(kThresholds), std::end(kThresholds), threshold);
    return entries;
}

QStringList Ro4dWordFaults(const TParamRegs& regs) {
    QStringList faults;
    auto check = [&](int word, const char* name, const char* caption, int lo, int hi) {
        const int value = regs[static_cast<std::size_t>(word)];
        if (value < lo || value > hi)
            faults << QStringLiteral("слово %1 %2 (%3) = %4, допустимо от %5 до %6")
                          .arg(word)
                          .arg(QLatin1String(name), QString::fromUtf8(caption))
                          .arg(value)
                          .arg(lo)
                          .arg(hi);
    };
    for (const TWholeEntry& e : kWholeEntries)
        check(e.word, e.registerName, e.caption, 0, widest(e.word));
    check(kReference.word, kReference.registerName, kReference.caption, 1, kByte);
    check(kTestLine2x[0].word, kTestLine2x[0].registerName, kTestLine2x[0].caption, 0, kAdcFull);
    check(kTestLine.word, kTestLine.registerName, kTestLine.caption, 0, kAdcFull);
    for (const TVoltEntryInfo& e : kThresholds)
        check(e.word, e.registerName, e.caption, 0, kAdcFull);
    return faults;
}
