#include "devices/qv1m/qv1m_convert.h"

#include "devices/qv1/unit_text.h"

#include <QLocale>
#include <cmath>

std::int64_t LenientInt(QStringView text) {
    return qv1::ParseLenientInt(text);
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
