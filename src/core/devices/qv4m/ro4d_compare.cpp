#include "devices/qv4m/ro4d_compare.h"

#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/ro4d_captions.h"

#include <QList>

namespace {

enum class TKind { Whole, Ref, Volts };

struct TParamItem {
    int word;
    TKind kind;
    unsigned scale;              // page value = word × scale
    QString TQv4mParams::*field; // the entry that shows it, for its caption and unit
};

using P = TQv4mParams;

// Parameter words as the pages show them.
constexpr TParamItem kParamItems[] = {
    {cNumTryIsSinus, TKind::Whole, 2, &P::TimeSearchSinus},
    {cNumTryOff_R2, TKind::Whole, 1, &P::NumOfCycleReleSwitch},
    {bNsecWorkAfterBtnUp, TKind::Whole, 1, &P::T_off},
    {wNsecWork_T_min6_M1, TKind::Whole, 1, &P::T_min6a},
    {wNsecWork_T_min6_M2, TKind::Whole, 1, &P::T_min6b},
    {cKoncErrTime, TKind::Whole, 1, &P::T_240},
    {cAntiDreb_ADC_B, TKind::Whole, 20, &P::TimeAntidrebADC},
    {cAntiDreb_ADC_E, TKind::Whole, 20, &P::TimeAntidrebWarning},
    {cAntiDrebR, TKind::Whole, 2, &P::TimeAntidrebRele},
    {wNsecWork_T_end, TKind::Whole, 1, &P::T_end},
    {bVoltRef, TKind::Ref, 1, &P::VoltOpora},
    {wTest_Lvl_DO, TKind::Volts, 1, &P::Edit1},
    {cVolt_Lvl_L, TKind::Volts, 1, &P::Edit2},
    {wBut_Lvl_DO, TKind::Volts, 1, &P::VoltHiBtn},
    {wBut_Lvl_UD, TKind::Volts, 1, &P::VoltDnBtn},
    {wBut_Lvl_SC, TKind::Volts, 1, &P::VoltLoBtn},
    {wSig_Lvl_DO, TKind::Volts, 1, &P::VoltHiSig},
    {wSig_Lvl_UD, TKind::Volts, 1, &P::VoltDnSig},
    {wSig_Lvl_SC, TKind::Volts, 1, &P::VoltLoSig},
    {bNsecWorkAfterBtnUp_3, TKind::Whole, 1, &P::TimeMode3},
    {bValue_T_wait, TKind::Whole, 1, &P::T_wait},
    {cVolt_Lvl_TimePeriod, TKind::Whole, 1, &P::PeriodTimeTest},
};

struct TOptionBit {
    std::uint16_t mask;
    bool TQv4mParams::*option;
};

constexpr TOptionBit kOptionBits[] = {
    {0x0001, &P::CheckBox1},  {0x0002, &P::NoWaitOffBtn}, {0x0008, &P::CheckBox16},
    {0x0800, &P::CheckBox19}, {0x1000, &P::IfBadK3OffM1},
};
constexpr std::uint16_t kDispatcherC3 = 0x0080;
// Bits 5 and 6 set the AND/OR groups: they belong to the matrix.
constexpr std::uint16_t kOrBits = 0x0060;

// A word as the unit keeps it.
std::uint16_t kept(int word, std::uint16_t value) {
    if (Ro4dKeptAsByte(word))
        return value & 0xFF;
    if (word == wFlagCheck_But_Sig_SW_OZ)
        return value & sig::Lines;
    return value;
}

// One side's values in the page's units.
class TSideView {
public:
    TSideView(const TRo4dImage& image, double rVoltOpora)
        : image_(image), vref_(RefVolts(word(bVoltRef), rVoltOpora)) {}

    std::uint16_t word(int w) const { return kept(w, image_.params[static_cast<std::size_t>(w)]); }

    QString text(const TParamItem& item) const {
        const std::uint16_t w = word(item.word);
        switch (item.kind) {
        case TKind::Whole:
            return WholeText(w, item.scale) + QLatin1Char(' ') +
                   CaptionText(Ro4dValueCaptionOf(item.field).unit);
        case TKind::Ref:
            return FormatVolts(vref_) + QStringLiteral(" В");
        case TKind::Volts:
            break;
        }
        return FormatVolts(CodeVolts(w, vref_)) + QStringLiteral(" В");
    }

private:
    const TRo4dImage& image_;
    double vref_;
};

void add(TCompareResult& result, const QString& place, QString left, QString right,
         std::uint16_t leftCode, std::uint16_t rightCode) {
    // Two codes may round to the same volts: then the codes tell them apart.
    if (left == right) {
        left += QStringLiteral(" (код %1)").arg(leftCode);
        right += QStringLiteral(" (код %1)").arg(rightCode);
    }
    result.differences.append({place, left, right});
}

QString mainModeText(std::uint16_t flagMode1) {
    TQv4mParams unused;
    int mode = kModeIndependent;
    UnpackFlagMode1(flagMode1, unused, mode);
    return CaptionItem(kMainModeCaptions, 3, mode);
}

void compareFlagMode(std::uint16_t l, std::uint16_t r, TCompareResult& result) {
    if ((l & ~kOrBits) == (r & ~kOrBits))
        return;
    const qsizetype before = result.differences.size();
    for (const TOptionBit& b : kOptionBits)
        if ((l ^ r) & b.mask)
            result.differences.append(
                {Ro4dOptionPlace(b.option), CheckedText(l & b.mask), CheckedText(r & b.mask)});
    if ((l ^ r) & kDispatcherC3)
        result.differences.append(
            {QStringLiteral("Осн. сигнал для диспетчера"),
             (l & kDispatcherC3) ? QStringLiteral("C3") : QStringLiteral("C1"),
             (r & kDispatcherC3) ? QStringLiteral("C3") : QStringLiteral("C1")});
    if (mainModeText(l) != mainModeText(r))
        result.differences.append(
            {QStringLiteral("Режим М1/М2"), mainModeText(l), mainModeText(r)});
    // Bits no control shows still differ: name the word itself.
    if (result.differences.size() == before)
        result.differences.append(
            {QStringLiteral("wFlag_Mode_1 (слово параметров 19)"), HexWordText(l), HexWordText(r)});
}

void compareLines(std::uint16_t l, std::uint16_t r, TCompareResult& result) {
    for (const TRo4dLineCaption& b : Ro4dLineCaptions())
        if ((b.bit & sig::Lines) && ((l ^ r) & b.bit))
            result.differences.append(
                {Ro4dLineGroupCaption() + QStringLiteral(": ") + CaptionText(b.caption),
                 CheckedText(l & b.bit), CheckedText(r & b.bit)});
}

QStringList notesFor(bool board2x) {
    QStringList notes{
        QStringLiteral("Слова параметров 0–8 и 12 устройство хранит байтом: сравниваются их "
                       "младшие байты."),
        QStringLiteral("«Контроль линий по каналам»: сравниваются шесть линий; switch 1–4 задаются "
                       "переключателями на плате."),
        QStringLiteral("Не сравниваются слова, которых устройство не хранит: параметры 25–32, "
                       "режимы 20–32 и 8 дополнительных слов файла (среди них «Отключать "
                       "незадействованные сигналы от проверки»)."),
    };
    if (!board2x)
        notes << QStringLiteral("Плата не 2.x: порог обрыва линии тестирования (слово 10) не "
                                "используется и не сравнивается.");
    return notes;
}

} // namespace

TRo4dImage TRo4dUnitImage::image() const {
    TRo4dImage out;
    for (int r = 0; r < kParamRegCount && r < kRo4dModeRegister; ++r)
        out.params[static_cast<std::size_t>(r)] = registers[static_cast<std::size_t>(r)];
    for (int n = 0; n < kModeFieldCount; ++n)
        out.mode[static_cast<std::size_t>(n)] =
            registers[static_cast<std::size_t>(kRo4dModeRegister + n)];
    return out;
}

bool Ro4dKeptAsByte(int paramWord) {
    return (paramWord >= cNumTryIsSinus && paramWord <= cAntiDrebR) || paramWord == bVoltRef;
}

QString Ro4dFileSide() {
    return QStringLiteral("Файл");
}

QString Ro4dPageSide() {
    return QStringLiteral("Страница");
}

QString Ro4dWrittenSide() {
    return QStringLiteral("Записано");
}

TCompareResult CompareRo4d(const TRo4dUnitImage& unit, const TRo4dImage& other,
                           const QString& rightName) {
    TCompareResult result;
    result.rightName = rightName;
    const bool board2x = IsBoard2x(unit.bVers);
    result.notes = notesFor(board2x);
    if (!unit.versionRead) {
        result.complete = false;
        result.incompleteReason = QStringLiteral("устройство не ответило на запрос версии");
        return result;
    }
    if (!unit.complete()) {
        result.complete = false;
        result.incompleteReason =
            QStringLiteral(
                "устройство не ответило на чтение страницы %1 (считано страниц: %2 из %3)")
                .arg(unit.pagesRead)
                .arg(unit.pagesRead)
                .arg(kRo4dPageCount);
    }
    const TRo4dImage left = unit.image();
    const double rVoltOpora = BoardVoltOpora(unit.bVers);
    const TSideView l(left, rVoltOpora), r(other, rVoltOpora);

    for (const TParamItem& item : kParamItems) {
        if (item.word == wTest_Lvl_DO && !board2x)
            continue;
        const bool needsRef = item.kind != TKind::Whole;
        if (!unit.knows(item.word) || (needsRef && !unit.knows(bVoltRef)))
            continue;
        if (l.word(item.word) == r.word(item.word))
            continue;
        const QString place = Ro4dValuePlace(
            item.word == cVolt_Lvl_L && !board2x ? &P::VoltLowTestMotor : item.field);
        add(result, place, l.text(item), r.text(item), l.word(item.word), r.word(item.word));
    }
    if (unit.knows(wFlag_Mode_1))
        compareFlagMode(l.word(wFlag_Mode_1), r.word(wFlag_Mode_1), result);
    if (unit.knows(23) && l.word(23) != r.word(23))
        result.differences.append({QStringLiteral("Слово параметров 23 (на страницах не показано)"),
                                   HexWordText(l.word(23)), HexWordText(r.word(23))});
    if (unit.knows(wFlagCheck_But_Sig_SW_OZ))
        compareLines(l.word(wFlagCheck_But_Sig_SW_OZ), r.word(wFlagCheck_But_Sig_SW_OZ), result);
    if (unit.complete())
        CompareRo4dMatrix(left, other, result);
    return result;
}
