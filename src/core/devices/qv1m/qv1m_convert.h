// Conversions between the RI1-R page's texts and the stored values. The page
// never rejects an entry: integers are read leniently and cut to the field.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Reads an integer the lenient way, as every page does: leading blanks
// skipped, an optional sign, "$" or "0x" for hexadecimal, digits up to the
// first other character; no digits give 0. The low bits are always right.
std::int64_t LenientInt(QStringView text);

// Time fields: "%5d", and the low 16 bits of an entry.
QString Qv1TimeText(std::uint16_t value);
std::uint16_t Qv1TimeFromText(QStringView text);
// Fault delays: plain decimal, and the low 8 bits of an entry.
QString Qv1DelayText(std::uint8_t value);
std::uint8_t Qv1DelayFromText(QStringView text);

// A decimal entry with "," or "." as the separator; nullopt when the text is
// not a finite number.
std::optional<double> Qv1ParseReal(QStringView text);
// "%1.<decimals>f" with the system's decimal separator.
QString Qv1RealText(double value, int decimals);

// A threshold code shown in volts against the reference rVolt.
QString Qv1VoltText(std::uint16_t code, double rVolt);
// Volts to a threshold code: V * 1024 / rVolt, rounded half to even, low
// 16 bits kept. Nullopt when the reference is not a positive number.
std::optional<std::uint16_t> Qv1CodeFromVolts(double volts, double rVolt);
