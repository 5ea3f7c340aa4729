// Plain rules of the serial port component: port names, rates, character
// length and the tail waits of a send.
#pragma once

#include "serial/com_port_types.h"

#include <QString>
#include <cstdint>

// "com7" gives COM7, "12" gives COM12; anything outside COM1..COM96 gives COM1.
QString NormalizePortName(const QString& name);

// The number a rate stands for; brCustom gives customRate.
std::uint32_t BaudRateValue(TBaudRate rate, std::uint32_t customRate);

// Data bits + stop bits (two for 1.5 and 2) + one parity bit unless none;
// the start bit is not counted, so 8N1 is 9.
int BitsPerChar(TDataBits data, TStopBits stop, TParityBits parity);

// The waits after the last byte of a send: one character time for a
// one-byte send (after1), two for longer ones (after2), rounded up to whole ms.
struct TSendTail {
    int after1 = 0;
    int after2 = 0;
};
// windowsVersion "95" or "98" shifts both by one ms (shorter when both pauses
// are set, else longer); any other text leaves them.
TSendTail SendTail(std::uint32_t baud, int bits, const QString& windowsVersion, int w1, int wN);
