#include "devices/qv4m/number_text.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

qsizetype skipBlanks(const QString& text, qsizetype i) {
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    return i;
}

} // namespace

void prCommaToPoint(QString& text) {
    text.replace(QLatin1Char(','), QLatin1Char('.'));
}

std::int32_t LenientToInt(const QString& text) {
    qsizetype i = skipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    // Accumulate with a ceiling so a long run of digits cannot overflow.
    constexpr std::int64_t ceiling = std::int64_t{1} << 32;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0 || d >= base)
            break;
        value = std::min(value * base + d, ceiling);
    }
    if (negative)
        value = -value;
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

double LenientToDouble(QString text) {
    prCommaToPoint(text);
    qsizetype i = skipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    std::string number;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            number += static_cast<char>(c);
            digits = true;
        } else if (c == u'.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    // from_chars ignores the system's locale: the point is always the separator.
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::fixed);
    (void)end;
    if (error != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

QString FormatVolts(double volts) {
    QString text = QString::asprintf("%1.2f", volts);
    const QString separator = QLocale::system().decimalPoint();
    if (separator != QLatin1String("."))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

std::uint16_t RoundToLow16(double value) {
    if (!std::isfinite(value))
        return 0;
    // nearbyint rounds halves to even in the default rounding mode; fmod of an
    // integral double is exact, so any magnitude keeps its true low 16 bits.
    double low = std::fmod(std::nearbyint(value), 65536.0);
    if (low < 0)
        low += 65536.0;
    return static_cast<std::uint16_t>(low);
}
