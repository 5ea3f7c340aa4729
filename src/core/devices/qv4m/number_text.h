// Numbers typed into the device pages and shown on them. Entries are parsed
// leniently: a text that is not a number never stops an operation.
#pragma once

#include <QString>
#include <cstdint>

// Turns every comma of a number text into a point; other characters stay.
void prCommaToPoint(QString& text);

// Leading blanks, an optional sign, then decimal digits up to the first other
// character ("$" or "0x" before hexadecimal digits). An empty or non-numeric
// text gives 0; values beyond the 32-bit range are held at its ends.
std::int32_t LenientToInt(const QString& text);

// The same for a decimal entry: commas become points first, then an optional
// sign, digits, a point and digits, up to the first other character. A text
// without digits gives 0.
double LenientToDouble(QString text);

// A voltage as "%1.2f" with the system's decimal separator.
QString FormatVolts(double volts);

// Rounds to the nearest integer with exact halves going to the even
// neighbour, and keeps the low 16 bits of the result (as a two's complement
// value would have them). Infinite or undefined values give 0.
std::uint16_t RoundToLow16(double value);
