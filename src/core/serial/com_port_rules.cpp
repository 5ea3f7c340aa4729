#include "serial/com_port_rules.h"

#include <array>

QString NormalizePortName(const QString& name) {
    QString rest = name;
    if (name.left(3).toUpper() == QLatin1String("COM"))
        rest = name.mid(3);
    bool ok = false;
    int n = rest.toInt(&ok, 10);
    if (!ok || n < 1 || n > 96)
        n = 1;
    return QStringLiteral("COM%1").arg(n);
}

std::uint32_t BaudRateValue(TBaudRate rate, std::uint32_t customRate) {
    static constexpr std::array<std::uint32_t, 16> kRates{
        0,     110,   300,   600,   1200,  2400,   4800,   9600,
        14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    const auto index = static_cast<std::size_t>(rate);
    if (rate == brCustom || index >= kRates.size())
        return customRate;
    return kRates[index];
}

int BitsPerChar(TDataBits data, TStopBits stop, TParityBits parity) {
    const int dataBits = 5 + static_cast<int>(data);
    const int stopBits = stop == sb1Bit ? 1 : 2;
    const int parityBits = parity == prNone ? 0 : 1;
    return dataBits + stopBits + parityBits;
}

TSendTail SendTail(std::uint32_t baud, int bits, const QString& windowsVersion, int w1, int wN) {
    TSendTail tail;
    // Whole milliseconds, rounded up, in integers so that an exact value
    // (300 baud, 9 bits: 30 ms) is not pushed up by a floating-point remainder.
    // A rate of 0 would divide by zero; such a line sends nothing anyway.
    if (baud > 0) {
        const std::uint64_t one = 1000ull * static_cast<std::uint64_t>(bits);
        tail.after1 = static_cast<int>((one + baud - 1) / baud);
        tail.after2 = static_cast<int>((2 * one + baud - 1) / baud);
    }
    if (windowsVersion == QLatin1String("95") || windowsVersion == QLatin1String("98")) {
        const int shift = (w1 != 0 && wN != 0) ? -1 : 1;
        tail.after1 += shift;
        tail.after2 += shift;
    }
    return tail;
}
