#include "devices/entries/entry_rule.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace {

QString number(const TEntryRule& rule, double value) {
    if (rule.kind == TEntryRule::Kind::Whole)
        return QString::number(static_cast<qlonglong>(value));
    return QLocale::system().toString(value, 'f', 2);
}

QString withUnit(const TEntryRule& rule, const QString& text) {
    return rule.unit.isEmpty() ? text : text + QLatin1Char(' ') + rule.unit;
}

// The value a clean text stands for; nullopt when the lenient reading would
// read something else (letters after the number, no digits, a fraction in a
// whole field: fraction is set then).
std::optional<double> cleanValue(const TEntryRule& rule, const QString& text, bool& fraction) {
    static const QRegularExpression whole(
        QStringLiteral("^([+-]?)(?:([0-9]+)|\\$([0-9A-Fa-f]+)|0[xX]([0-9A-Fa-f]+))$"));
    // Latin digits only: the lenient reading takes no others.
    static const QRegularExpression decimal(
        QStringLiteral("^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$"));
    const QString t = text.trimmed();
    fraction = false;
    if (rule.kind == TEntryRule::Kind::Decimal) {
        if (!decimal.match(t).hasMatch())
            return std::nullopt;
        return QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    }
    const QRegularExpressionMatch m = whole.match(t);
    if (!m.hasMatch()) {
        fraction = decimal.match(t).hasMatch();
        return std::nullopt;
    }
    bool ok = false;
    const qulonglong v = m.captured(2).isEmpty()
                             ? (m.captured(3) + m.captured(4)).toULongLong(&ok, 16)
                             : m.captured(2).toULongLong(&ok, 10);
    if (!ok) // more digits than any field holds
        return m.captured(1) == QLatin1String("-") ? -1e300 : 1e300;
    const double value = static_cast<double>(v);
    return m.captured(1) == QLatin1String("-") ? -value : value;
}

} // namespace

TEntryRule TEntryRule::Whole(double min, double max, const QString& unit, int step) {
    TEntryRule r;
    r.min = min;
    r.max = max;
    r.unit = unit;
    r.step = step;
    return r;
}

TEntryRule TEntryRule::Decimal(double min, double max, const QString& unit) {
    TEntryRule r;
    r.kind = Kind::Decimal;
    r.min = min;
    r.max = max;
    r.unit = unit;
    return r;
}

std::optional<QString> EntryFault(const TEntryRule& rule, const QString& text) {
    if (!rule.placeholder.isEmpty() && text.trimmed() == rule.placeholder)
        return std::nullopt;
    if (text.trimmed().isEmpty())
        return QStringLiteral("пустое поле");
    bool fraction = false;
    const std::optional<double> value = cleanValue(rule, text, fraction);
    if (!value)
        return fraction ? QStringLiteral("нужно целое число") : QStringLiteral("не число");
    if (rule.minExclusive ? *value <= rule.min : *value < rule.min)
        return rule.minExclusive ? QStringLiteral("нужно больше %1").arg(number(rule, rule.min))
                                 : QStringLiteral("меньше %1").arg(number(rule, rule.min));
    if (*value > rule.max)
        return QStringLiteral("больше %1").arg(number(rule, rule.max));
    return std::nullopt;
}

QString RangeText(const TEntryRule& rule) {
    QString range;
    if (std::isinf(rule.max))
        range = (rule.minExclusive ? QStringLiteral("больше %1") : QStringLiteral("от %1"))
                    .arg(number(rule, rule.min));
    else
        range =
            (rule.minExclusive ? QStringLiteral("больше %1, до %2") : QStringLiteral("от %1 до %2"))
                .arg(number(rule, rule.min), number(rule, rule.max));
    range = withUnit(rule, range);
    if (rule.step > 1)
        range += QStringLiteral(", шаг %1").arg(withUnit(rule, QString::number(rule.step)));
    return range;
}

QString EntryToolTip(const TEntryRule& rule, const std::optional<QString>& fault) {
    QString tip = QStringLiteral("Допустимо: ") + RangeText(rule);
    if (fault)
        tip += QStringLiteral("\nНе будет записано: ") + *fault;
    return tip;
}

QString BlockedWriteMessage(const std::vector<TEntryFault>& faults) {
    QString text = QStringLiteral("В устройство ничего не записано: исправьте отмеченные поля.");
    for (const TEntryFault& f : faults)
        text += QStringLiteral("\n%1: введено «%2» — %3; допустимо %4")
                    .arg(f.caption, f.text.trimmed(), f.reason, f.range);
    return text;
}
