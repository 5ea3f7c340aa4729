#include "devices/qv1/unit_text.h"

namespace qv1 {

namespace {

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (u >= u'a' && u <= u'f')
        v = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        v = u - u'A' + 10;
    return v < base ? v : -1;
}

} // namespace

QChar UnitTextChar(std::uint8_t b) {
    if (b < 0x20 || b == 0x7F || (b >= 0xB0 && b <= 0xDF) || b >= 0xF2)
        return QLatin1Char(' ');
    if (b < 0x80)
        return QLatin1Char(static_cast<char>(b));
    if (b < 0xB0) // А..Я, а..п
        return QChar(0x0410 + (b - 0x80));
    if (b < 0xF0) // р..я
        return QChar(0x0440 + (b - 0xE0));
    return QChar(b == 0xF0 ? 0x0401 : 0x0451); // Ё, ё
}

QString UnitText(const std::uint8_t* bytes, std::size_t count) {
    QString text;
    text.reserve(static_cast<qsizetype>(count));
    for (std::size_t k = 0; k < count; ++k)
        text += UnitTextChar(bytes[k]);
    return text;
}

std::int64_t ParseLenientInt(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < text.size() && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (text.mid(i, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        i += 2;
    }
    // Unsigned so that an endless row of digits wraps instead of overflowing.
    std::uint64_t value = 0;
    for (int d; i < text.size() && (d = digitValue(text[i], base)) >= 0; ++i)
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    return static_cast<std::int64_t>(negative ? 0 - value : value);
}

} // namespace qv1
