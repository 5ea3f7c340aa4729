// The bytes of rs_m.ini: ten single-byte lines ending in CR LF, the last one
// an MD5 digest of the nine before it. Plain functions over plain data; the
// file itself and the program-wide values are handled in settings_file.h.
#pragma once

#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

// The channels whose port names the program writes (lines 4, 6 and 8).
inline constexpr int kSavedChannels = 3;
using TSavedPortNames = std::array<QString, kSavedChannels>;

// What reading a file yields, before it is applied.
struct TSettingsRead {
    int TimeOut = 100;
    int PreSendPause = 100;
    // The flags line in effect: as read, whole, or the default.
    QByteArray Flags;
    // Port names of the pairs read, channel by channel from 0.
    std::array<QString, kNumChannels> PortName{};
    int PortsRead = 0;
    // Set unless a digest line was found and matched.
    bool Rewrite = true;
};

// One byte per character: the low 8 bits of its UTF-16 code.
QByteArray SingleByteText(const QString& text);
// MD5 of the lines joined without their ends, as 32 upper-case hex digits.
QByteArray SettingsDigest(const QList<QByteArray>& lines);

// The attempt count as the flags line's tail (character 7 onward). Every count
// that has a character of its own is that one character, so a reader that takes
// the character's code as the count reads it exactly. A line break cannot sit
// inside a line, so 10 and 13 are written as the next code up followed by the
// count in decimal; counts beyond a byte are code 255 ("without end"), with the
// decimal count after it unless the count is 65535.
QByteArray AttemptsText(int count);
// The count from a flags line of at least seven characters.
int AttemptsFromFlags(const QByteArray& flags);

// "000000" and the character with code 3.
QByteArray DefaultFlagsLine();
QByteArray FlagsLine(const TSettingsValues& values);
// The values that a flags line of at least seven characters gives.
void ApplyFlagsLine(const QByteArray& flags, TSettingsValues& values);

// The whole file for these values and names, digest line and CR LF ends included.
// A name that the reader would not take back as a port name is written empty.
QByteArray SettingsText(const TSettingsValues& values, const TSavedPortNames& names);
// The file as it is rewritten after a missing or damaged one: time-out, pause and
// flags line as read, and the port list COM1, COM2, COM3.
QByteArray RewrittenSettingsText(const TSettingsRead& read);

// Reads a file's bytes (empty: no file). LF ends a line; a CR before it is dropped.
TSettingsRead ReadSettingsText(const QByteArray& text);
// The settings a read gives, as loading applies them.
TSettingsValues ValuesFromRead(const TSettingsRead& read);
