#include "devices/qv4m/ro4d_compare.h"

#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/param_codec.h"

#include <QList>

namespace {

enum class TKind { Whole, Ref, Volts };

struct TParamItem {
    int word;
    TKind kind;
    unsigned scale; // page value = word × scale
    const char* unit;
    const char* caption;
};

// Parameter words as the pages show them; the threshold captions carry the
// group they stand in, since the same texts appear in three groups.
constexpr TParamItem kParamItems[] = {
    {cNumTryIsSinus, TKind::Whole, 2, "мс",
     "[1], [мс] - Отслеживание синусов напряжений: Vl, Vu, Vu1; def=1,5 цикла от 50 Гц"},
    {cNumTryOff_R2, TKind::Whole, 1, "шт",
     "[2], [шт] - Число циклов ожидания переключения реле К2, K3"},
    {bNsecWorkAfterBtnUp, TKind::Whole, 1, "сек",
     "[сек] - T_off - время работы привода после снятия управляющих сигналов"},
    {wNsecWork_T_min6_M1, TKind::Whole, 1, "сек", "М1: [сек] - T_min6"},
    {wNsecWork_T_min6_M2, TKind::Whole, 1, "сек", "М2: [сек] - T_min6"},
    {cKoncErrTime, TKind::Whole, 1, "сек",
     "[сек] - T_240 - таймаут ожидания концевика; заклинивание привода"},
    {cAntiDreb_ADC_B, TKind::Whole, 20, "мс",
     "[мс] - Антидребезг для АЦП сигналов (нажаты кнопки K1, K3; SW, O, Z)"},
    {cAntiDreb_ADC_E, TKind::Whole, 20, "мс",
     "[мс] - Антидребезг определения аварийных состояний K1, K3, C1, C3"},
    {cAntiDrebR, TKind::Whole, 2, "мс", "[3], [мс] - Антидребезг переключения реле"},
    {wNsecWork_T_end, TKind::Whole, 1, "сек",
     "[сек] - T_end - время работы после срабатывания концевика"},
    {bVoltRef, TKind::Ref, 1, "В",
     "[В] - Опорное напряжение (исп-ся для расчёта коэф-тов, которые расчитываются данной "
     "программой по указанным значениям напряжений порогов)"},
    {wTest_Lvl_DO, TKind::Volts, 1, "В",
     "Линия тестирования М1/М2: [В], порог, выше которого обрыв"},
    {cVolt_Lvl_L, TKind::Volts, 1, "В", "Линия тестирования М1/М2: [В], порог, ниже которого К.З."},
    {wBut_Lvl_DO, TKind::Volts, 1, "В", "Линии кнопок: [В], порог, выше которого обрыв"},
    {wBut_Lvl_UD, TKind::Volts, 1, "В",
     "Линии кнопок: [В], порог, выше которого кнопка отпущена, ниже - нажата"},
    {wBut_Lvl_SC, TKind::Volts, 1, "В", "Линии кнопок: [В], порог, ниже которого К.З."},
    {wSig_Lvl_DO, TKind::Volts, 1, "В",
     "Линии сигналов концевиков: [В], порог, выше которого обрыв"},
    {wSig_Lvl_UD, TKind::Volts, 1, "В",
     "Линии сигналов концевиков: [В], порог, выше которого нет сигнала концевика, ниже - есть "
     "сигнал"},
    {wSig_Lvl_SC, TKind::Volts, 1, "В",
     "Линии сигналов концевиков: [В], порог, ниже которого К.З."},
    {bNsecWorkAfterBtnUp_3, TKind::Whole, 1, "с",
     "[с] - T_mode3 - время работы М1 после отпускания К3 (режим работы по switch_3)"},
    {bValue_T_wait, TKind::Whole, 1, "сек", "[сек] - T_wait - пауза перед включением M1/M2"},
    {cVolt_Lvl_TimePeriod, TKind::Whole, 1, "с", "[с] - Период тестирования питающих линий M1/M2"},
};

// Older boards have one lower test limit, in cVolt_Lvl_L, under its own caption.
const char* kOldBoardLowTest =
    "[В], нижний предел при тесте M1/M2, через (10 + 11.5/2) мкс от начала импульса";

struct TOptionBit {
    std::uint16_t mask;
    const char* caption;
};

constexpr TOptionBit kOptionBits[] = {
    {0x0001, "Нормально замкнутые кнопки (K1, K3)"},
    {0x0002, "Отключить фазу гарантированного отпускания всех кнопок/сигналов"},
    {0x0008, "Игнорировать ошибки теста в одном из каналов М1/M2"},
    {0x0800, "Сигнал диспетчеру от одного концевика отключать при срабатывании другого концевика"},
    {0x1000, "Отключать М1 во время работы при возникновении аварии по К3 (только для режима "
             "работы по switch_3)"},
};
constexpr std::uint16_t kDispatcherC3 = 0x0080;
// Bits 5 and 6 set the AND/OR groups: they belong to the matrix.
constexpr std::uint16_t kOrBits = 0x0060;

struct TLineBit {
    std::uint16_t bit;
    const char* name;
};

constexpr TLineBit kLineBits[] = {{sig::K1, "K1"}, {sig::K3, "K3"}, {sig::C1, "C1"},
                                  {sig::C3, "C3"}, {sig::Op, "O+"}, {sig::Zp, "Z+"}};

const char* const kMainModes[] = {"M2 не используется", "М2 - независимый от М1 канал управления",
                                  "М2 включается после М1 через паузу T_min6"};

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
            return WholeText(w, item.scale) + QLatin1Char(' ') + QString::fromUtf8(item.unit);
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
    return QString::fromUtf8(kMainModes[mode]);
}

void compareFlagMode(std::uint16_t l, std::uint16_t r, TCompareResult& result) {
    if ((l & ~kOrBits) == (r & ~kOrBits))
        return;
    const qsizetype before = result.differences.size();
    for (const TOptionBit& b : kOptionBits)
        if ((l ^ r) & b.mask)
            result.differences.append(
                {QString::fromUtf8(b.caption), CheckedText(l & b.mask), CheckedText(r & b.mask)});
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
    for (const TLineBit& b : kLineBits)
        if ((l ^ r) & b.bit)
            result.differences.append(
                {QStringLiteral("Контроль линий по каналам: ") + QString::fromUtf8(b.name),
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
        const QString place = item.word == cVolt_Lvl_L && !board2x
                                  ? QString::fromUtf8(kOldBoardLowTest)
                                  : QString::fromUtf8(item.caption);
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
