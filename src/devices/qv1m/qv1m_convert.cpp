#include "devices/qv1m/qv1m_convert.h"

#include <QLocale>
#include <cmath>

namespace {

int digitValue(QChar c, int base) {
    int v = -1;
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        v = c.unicode() - '0';
    else if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        v = c.unicode() - 'a' + 10;
    else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        v = c.unicode() - 'A' + 10;
    return v < base ? v : -1;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

std::int64_t LenientInt(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X')) &&
               digitValue(i + 2 < n ? text[i + 2] : QChar(), 16) >= 0) {
        base = 16;
        i += 2;
    }
    std::uint64_t value = 0;
    for (int d; i < n && (d = digitValue(text[i], base)) >= 0; ++i)
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (negative)
        value = ~value + 1;
    return static_cast<std::int64_t>(value);
}

QString Qv1TimeText(std::uint16_t value) {
    return QStringLiteral("%1").arg(value, 5);
}

std::uint16_t Qv1TimeFromText(QStringView text) {
    return static_cast<std::uint16_t>(LenientInt(text));
}

QString Qv1DelayText(std::uint8_t value) {
    return QString::number(value);
}

std::uint8_t Qv1DelayFromText(QStringView text) {
    return static_cast<std::uint8_t>(LenientInt(text));
}

std::optional<double> Qv1ParseReal(QStringView text) {
    QString normal = text.trimmed().toString();
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    double value = QLocale::c().toDouble(normal, &ok);
    if (!ok)
        value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Qv1RealText(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

QString Qv1VoltText(std::uint16_t code, double rVolt) {
    return Qv1RealText(code * rVolt / 1024, 2);
}

std::optional<std::uint16_t> Qv1CodeFromVolts(double volts, double rVolt) {
    if (!std::isfinite(rVolt) || rVolt <= 0)
        return std::nullopt;
    const double code = std::nearbyint(volts * 1024 / rVolt);
    if (!std::isfinite(code))
        return std::nullopt;
    // The low 16 bits, also of a negative or huge code; fmod is exact.
    double low = std::fmod(code, 65536.0);
    if (low < 0)
        low += 65536.0;
    return static_cast<std::uint16_t>(low);
}
