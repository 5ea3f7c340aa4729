// The condition matrix of a compare: both sides' mode words restored into the
// mode editor as a read or a load would, then compared control by control.
#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/ro4d_captions.h"
#include "devices/qv4m/ro4d_compare.h"

#include <algorithm>

namespace {

constexpr std::uint16_t kOrBits = 0x0060;

const char* const* const kRows = kMatrixRowCaptions;
const char* const* const kOrAnd = kOrAndCaptions;
const char* const* const kStopVariants = kStopVariantCaptions;

QString itemText(const char* const* items, int count, int index) {
    return CaptionItem(items, count, index);
}

QString onOff(bool on) {
    return ToggleText(on);
}

class TMatrixCompare {
public:
    explicit TMatrixCompare(TCompareResult& result) : result_(result) {}

    void channel(const QString& name, const TChannelControls& l, const TChannelControls& r) {
        choice(name + QStringLiteral(": Основное условие Пуска (1)"), kRows, kMainSignals,
               l.main1.index, r.main1.index);
        choice(name + QStringLiteral(": Основное условие Пуска (2)"), kRows, kMainSignals,
               l.main2.index, r.main2.index);
        choice(name + QStringLiteral(": Основное условие Пуска, связка"), kOrAnd, 3, l.orAnd.index,
               r.orAnd.index);
        for (int s = 0; s < kMatrixRows; ++s) {
            const QString row = name + QStringLiteral(", ") + QString::fromUtf8(kRows[s]);
            box(row + QStringLiteral(": Условия для Пуска"), l.start[s], r.start[s]);
            toggle(row + QStringLiteral(": переключатель"), l.toggle[s], r.toggle[s]);
            box(row + QStringLiteral(": Участие в Стоп"), l.stop[s], r.stop[s]);
        }
        choice(name + QStringLiteral(": Вариант для Стоп"), kStopVariants, 2, l.stopVariant.index,
               r.stopVariant.index);
        box(name + QStringLiteral(": Активировать T_240"), l.activateT240, r.activateT240);
        box(name + QStringLiteral(": Активировать T_end"), l.activateTend, r.activateTend);
        box(name + QStringLiteral(": Активировать T_wait"), l.activateTwait, r.activateTwait);
        box(name + QStringLiteral(": Доп. условие после T_wait"), l.dopIf, r.dopIf);
        toggle(name + QStringLiteral(": Доп. условие после T_wait, переключатель K3"), l.dopToggle,
               r.dopToggle);
    }

private:
    void choice(const QString& place, const char* const* items, int count, int l, int r) {
        if (l != r)
            result_.differences.append(
                {place, itemText(items, count, l), itemText(items, count, r)});
    }
    void box(const QString& place, const TBox& l, const TBox& r) {
        if (l.checked != r.checked)
            result_.differences.append({place, CheckedText(l.checked), CheckedText(r.checked)});
    }
    void toggle(const QString& place, const TBox& l, const TBox& r) {
        if (l.checked != r.checked)
            result_.differences.append({place, onOff(l.checked), onOff(r.checked)});
    }

    TCompareResult& result_;
};

} // namespace

TModeEditor RestoredModeEditor(const TRo4dImage& image) {
    std::array<std::uint16_t, kModeFieldCount> words{};
    std::copy_n(image.mode.begin(), kModeFieldCount, words.begin());
    const std::uint16_t flagMode1 = image.params[wFlag_Mode_1];
    TQv4mParams unused;
    TModeEditor ed;
    UnpackFlagMode1(flagMode1, unused, ed.mainMode);
    RestoreModeEditor(TModeWords::fromArray(words), flagMode1, ed);
    return ed;
}

void CompareRo4dMatrix(const TRo4dImage& left, const TRo4dImage& right, TCompareResult& result) {
    const bool orDiffers = (left.params[wFlag_Mode_1] ^ right.params[wFlag_Mode_1]) & kOrBits;
    const bool wordsDiffer =
        !std::equal(left.mode.begin(), left.mode.begin() + kModeFieldCount, right.mode.begin());
    if (!orDiffers && !wordsDiffer)
        return;
    const qsizetype before = result.differences.size();
    const TModeEditor l = RestoredModeEditor(left), r = RestoredModeEditor(right);
    TMatrixCompare matrix(result);
    matrix.channel(QStringLiteral("М1"), l.m1, r.m1);
    matrix.channel(QStringLiteral("М2"), l.m2, r.m2);
    if (result.differences.size() != before)
        return;
    // The editor shows both the same (its rules may hide a channel that is
    // not in use), yet the words differ: name the words themselves.
    for (int n = 0; n < kModeFieldCount; ++n) {
        const auto at = static_cast<std::size_t>(n);
        if (left.mode[at] != right.mode[at])
            result.differences.append(
                {QString::fromLatin1(ModeWordName(n)) + QStringLiteral(" (слово режима %1)").arg(n),
                 HexWordText(left.mode[at]), HexWordText(right.mode[at])});
    }
    if (orDiffers)
        result.differences.append({QStringLiteral("wFlag_Mode_1, биты 5–6 (И/ИЛИ)"),
                                   HexWordText(left.params[wFlag_Mode_1] & kOrBits),
                                   HexWordText(right.params[wFlag_Mode_1] & kOrBits)});
}
