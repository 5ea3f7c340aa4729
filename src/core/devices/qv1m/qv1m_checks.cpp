#include "devices/qv1m/qv1m_checks.h"

#include "devices/qv1m/qv1m_convert.h"

#include <cmath>

namespace {

constexpr int kTimeMax = 65535;
constexpr int kDelayMax = 255;
// Thresholds are codes of a 10-bit converter.
constexpr int kAdcMax = 1023;

const char* const kTimeNames[3] = {"Ton", "T6sec", "Toff"};
const char* const kThresholdNames[3] = {"Umin", "Uсраб.", "Umax"};

TEntryRule time(int min = 0) {
    return TEntryRule::Whole(min, kTimeMax);
}

void addFault(QStringList& faults, const QString& what, const TCheckedEntry& entry, double value) {
    const QString text = QString::number(value);
    if (const std::optional<QString> fault = EntryFault(entry.rule, text))
        faults << QStringLiteral("%1, %2 = %3: %4; допустимо %5")
                      .arg(what, entry.caption, text, *fault, RangeText(entry.rule));
}

} // namespace

std::array<TCheckedEntry, 3> Qv1TimeEntries(int n, int c, bool alternate, bool byTime,
                                            std::optional<std::uint16_t> t6sec) {
    std::array<TEntryRule, 3> rules{time(), time(), time()};
    if (Qv1ChannelEditable(n, c)) {
        if (alternate) {
            rules[1] = time(1);
            rules[2] = time(1);
            if (byTime)
                rules[0] = time(t6sec ? *t6sec + 1 : 1);
        } else if (byTime) {
            rules[1] = time(7);
        }
    }
    std::array<TCheckedEntry, 3> entries;
    for (int row = 0; row < 3; ++row)
        entries[static_cast<std::size_t>(row)] = {
            QStringLiteral("%1, канал %2").arg(QLatin1String(kTimeNames[row])).arg(c),
            rules[static_cast<std::size_t>(row)]};
    return entries;
}

std::optional<std::uint16_t> Qv1TimeValue(const QString& text) {
    if (EntryFault(time(), text))
        return std::nullopt;
    return Qv1TimeFromText(text);
}

TCheckedEntry Qv1DelayEntry(int k) {
    return {QStringLiteral("Время до аварии K%1").arg(k),
            TEntryRule::Whole(0, kDelayMax, QStringLiteral("сек"))};
}

TCheckedEntry Qv1ReferenceEntry() {
    TEntryRule rule = TEntryRule::Decimal(0, HUGE_VAL, QStringLiteral("В"));
    rule.minExclusive = true;
    return {QStringLiteral("Uацп"), rule};
}

TCheckedEntry Qv1ThresholdEntry(int i, std::optional<double> rVolt) {
    TEntryRule rule =
        TEntryRule::Decimal(0, rVolt ? *rVolt * kAdcMax / 1024.0 : HUGE_VAL, QStringLiteral("В"));
    rule.placeholder = QStringLiteral("?");
    return {QString::fromUtf8(kThresholdNames[i]), rule};
}

QStringList Qv1mSetFaults(const TQv1mSet& set) {
    QStringList faults;
    for (int n = 0; n < kQv1ModeCount; ++n)
        for (int c = 1; c <= kQv1ChannelCount; ++c) {
            const RQV1M_val1& r = set.channel(c)[static_cast<std::size_t>(n)];
            const auto entries = Qv1TimeEntries(n, c, r.bFlag & kQv1FlagAlternate,
                                                r.bFlag & kQv1FlagByTime, r.wTime6sec);
            const std::uint16_t values[3] = {r.wTimePrevOn, r.wTime6sec, r.wTimePrevOff};
            for (int row = 0; row < 3; ++row)
                addFault(faults, QStringLiteral("режим %1").arg(n + 1),
                         entries[static_cast<std::size_t>(row)], values[row]);
        }
    const std::uint16_t codes[3] = {set.mQV1M_s.wBut_Lvl_DO, set.mQV1M_s.wBut_Lvl_UD,
                                    set.mQV1M_s.wBut_Lvl_SC};
    const TEntryRule code = TEntryRule::Whole(0, kAdcMax);
    for (int i = 0; i < 3; ++i)
        addFault(faults, QStringLiteral("пороги"),
                 {QStringLiteral("код ") + QString::fromUtf8(kThresholdNames[i]), code}, codes[i]);
    return faults;
}
