#include "devices/qv1m/qv1m_compare.h"

#include "devices/qv1m/qv1m_convert.h"
#include "devices/qv1m/ri1r_captions.h"

#include <algorithm>

namespace {

QString modeChannel(int n, int c) {
    return QStringLiteral("Режим %1, канал %2: ").arg(n + 1).arg(c);
}

void addIf(TCompareResult& result, bool differs, const QString& place, const QString& l,
           const QString& r) {
    if (differs)
        result.differences.append({place, l, r});
}

QString number(int value) {
    return QString::number(value);
}

void compareChannel(int n, int c, const RQV1M_val1& l, const RQV1M_val1& r,
                    TCompareResult& result) {
    const QString at = modeChannel(n, c);
    addIf(result, l.wTimePrevOn != r.wTimePrevOn, at + QLatin1String(kRi1rTimeRows[0]),
          number(l.wTimePrevOn), number(r.wTimePrevOn));
    addIf(result, l.wTime6sec != r.wTime6sec, at + QLatin1String(kRi1rTimeRows[1]),
          number(l.wTime6sec), number(r.wTime6sec));
    addIf(result, l.wTimePrevOff != r.wTimePrevOff, at + QLatin1String(kRi1rTimeRows[2]),
          number(l.wTimePrevOff), number(r.wTimePrevOff));
    const auto bit = [](const RQV1M_val1& v, std::uint8_t mask) { return (v.bFlag & mask) != 0; };
    const auto control = [&](const RQV1M_val1& v) {
        return Ri1rControlItem(bit(v, kQv1FlagAlternate));
    };
    const auto work = [&](const RQV1M_val1& v) { return Ri1rWorkItem(bit(v, kQv1FlagByTime)); };
    addIf(result, bit(l, kQv1FlagAlternate) != bit(r, kQv1FlagAlternate), at + Ri1rControlCaption(),
          control(l), control(r));
    addIf(result, bit(l, kQv1FlagByTime) != bit(r, kQv1FlagByTime), at + Ri1rWorkCaption(), work(l),
          work(r));
    addIf(result, bit(l, kQv1FlagFaultCheck) != bit(r, kQv1FlagFaultCheck),
          at + Ri1rFaultCheckCaption(), CheckedText(bit(l, kQv1FlagFaultCheck)),
          CheckedText(bit(r, kQv1FlagFaultCheck)));
    addIf(result, bit(l, kQv1FlagInverse) != bit(r, kQv1FlagInverse), at + Ri1rInverseCaption(),
          CheckedText(bit(l, kQv1FlagInverse)), CheckedText(bit(r, kQv1FlagInverse)));
    // Bits 4 to 7 show nowhere on the page.
    addIf(result, (l.bFlag ^ r.bFlag) & 0xF0, at + QStringLiteral("флаги, биты 4–7"),
          HexWordText(l.bFlag & 0xF0), HexWordText(r.bFlag & 0xF0));
}

void compareDelays(const RQV1M_val2& l, const RQV1M_val2& r, TCompareResult& result) {
    const std::uint8_t RQV1M_val2::*delays[] = {&RQV1M_val2::bTimePausePrevErr_K1,
                                                &RQV1M_val2::bTimePausePrevErr_K2,
                                                &RQV1M_val2::bTimePausePrevErr_K3};
    for (int k = 0; k < 3; ++k)
        addIf(result, l.*delays[k] != r.*delays[k],
              Ri1rDelayCaption() + QStringLiteral(": K%1").arg(k + 1),
              number(l.*delays[k]) + QStringLiteral(" сек"),
              number(r.*delays[k]) + QStringLiteral(" сек"));
}

void compareVoltFlags(const RQV1M_val2& l, const RQV1M_val2& r, double rVolt,
                      TCompareResult& result) {
    const auto flag = [&](std::uint8_t mask, const QString& caption) {
        addIf(result, (l.bFlagMode_E ^ r.bFlagMode_E) & mask, caption,
              CheckedText(l.bFlagMode_E & mask), CheckedText(r.bFlagMode_E & mask));
    };
    flag(kQv1ModeFaultLatch, Ri1rFaultLatchCaption());
    flag(kQv1ModeInvertInputs, Ri1rInvertInputsCaption());
    addIf(result, (l.bFlagMode_E ^ r.bFlagMode_E) & 0xFC, QStringLiteral("флаги, биты 2–7"),
          HexWordText(l.bFlagMode_E & 0xFC), HexWordText(r.bFlagMode_E & 0xFC));
    const std::uint16_t RQV1M_val2::*codes[] = {&RQV1M_val2::wBut_Lvl_DO, &RQV1M_val2::wBut_Lvl_UD,
                                                &RQV1M_val2::wBut_Lvl_SC};
    for (int k = 0; k < 3; ++k) {
        const std::uint16_t lc = l.*codes[k], rc = r.*codes[k];
        if (lc == rc)
            continue;
        QString lt = Qv1VoltText(lc, rVolt) + QStringLiteral(" В");
        QString rt = Qv1VoltText(rc, rVolt) + QStringLiteral(" В");
        if (lt == rt) {
            lt += QStringLiteral(" (код %1)").arg(lc);
            rt += QStringLiteral(" (код %1)").arg(rc);
        }
        result.differences.append({Ri1rThresholdsCaption() + QStringLiteral(": ") +
                                       QString::fromUtf8(kRi1rVoltCaptions[k + 1]),
                                   lt, rt});
    }
}

// The first part the scope wants that the read did not bring, if any.
QString missingPart(const TQv1mUnitRead& unit, const TQv1mScope& scope) {
    if (!unit.session)
        return QStringLiteral("устройство не ответило на начало сеанса");
    for (int n = 0; n < kQv1ModeCount; ++n)
        if (scope.modes[static_cast<std::size_t>(n)] && !unit.modes[static_cast<std::size_t>(n)])
            return QStringLiteral("устройство не ответило на чтение режима %1").arg(n + 1);
    if (scope.delays && !unit.delays)
        return QStringLiteral("устройство не ответило на чтение времён до аварии");
    if (scope.voltFlags && !unit.voltFlags)
        return QStringLiteral("устройство не ответило на чтение порогов напряжения");
    return {};
}

} // namespace

bool TQv1mUnitRead::allModes() const {
    return std::all_of(modes.begin(), modes.end(), [](bool m) { return m; });
}

bool TQv1mUnitRead::complete() const {
    return session && allModes() && delays && voltFlags;
}

TQv1mScope TQv1mScope::OneMode(int n) {
    TQv1mScope scope;
    scope.modes.fill(false);
    if (Qv1ModeIndexValid(n))
        scope.modes[static_cast<std::size_t>(n)] = true;
    scope.delays = scope.voltFlags = false;
    return scope;
}

TCompareResult CompareRi1r(const TQv1mUnitRead& unit, const TQv1mSet& other,
                           const QString& rightName, double rVolt, const TQv1mScope& scope) {
    TCompareResult result;
    result.rightName = rightName;
    result.notes << QStringLiteral("Uацп устройство не хранит: пороги показаны в вольтах при Uацп "
                                   "%1 В и сравниваются по кодам.")
                        .arg(Qv1RealText(rVolt, 2));
    result.incompleteReason = missingPart(unit, scope);
    result.complete = result.incompleteReason.isEmpty();
    if (!unit.session)
        return result;
    for (int n = 0; n < kQv1ModeCount; ++n) {
        const auto at = static_cast<std::size_t>(n);
        if (!scope.modes[at] || !unit.modes[at])
            continue;
        for (int c = 1; c <= kQv1ChannelCount; ++c)
            compareChannel(n, c, unit.set.channel(c)[at], other.channel(c)[at], result);
    }
    if (scope.delays && unit.delays)
        compareDelays(unit.set.mQV1M_s, other.mQV1M_s, result);
    if (scope.voltFlags && unit.voltFlags)
        compareVoltFlags(unit.set.mQV1M_s, other.mQV1M_s, rVolt, result);
    return result;
}
