// Packets the ZI2-Z3 test bench sends on its own: a type letter, the values
// of one or both bench places, and an 8-bit sum. Decoding is kept apart from
// the page so every display and log rule works on plain bytes.
#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv2f3 {

// Full length of a packet by its type letter; 0 for a byte that starts no packet.
std::size_t BenchPacketLength(std::uint8_t type);
// Bytes still missing after `received` bytes of a packet; 0 when it is
// complete, when nothing was received, or when byte 0 starts no packet.
std::size_t BenchBytesMissing(const std::uint8_t* bytes, std::size_t received);

struct TFieldText {
    QString name;
    QString text;
};
struct TFieldCheck {
    QString name;
    bool checked = false;
};

// Names of the page fields. Variants: 1 idle voltages, 2 working voltages,
// 3 working currents; places 1 and 2. Any other number gives empty names.
std::array<QString, 2> VoltFieldNames(int variant);
std::array<QString, 6> PresetFieldNames(int place);
std::array<QString, 6> MeasuredFieldNames(int place);
// "нет платы", then "нет ответа".
std::array<QString, 2> StatusFieldNames(int place);

// The column headings of the time fields: "Ton11", "Toff11", … "Tauto12".
std::array<QString, 6> TimeCaptions();

// 5 and 7 show as "5.07", 12 and 50 as "12.50".
QString VoltText(std::uint8_t whole, std::uint8_t hundredths);
// Hundredths of a second in six places with the locale's decimal separator:
// 1234 shows as " 12.34".
QString MeasuredTimeText(std::uint16_t hundredths);
// Six preset bytes of one place: all 0xFF means "not set" and shows "-".
std::array<QString, 6> PresetTexts(const std::array<std::uint8_t, 6>& bytes);

// What the display operations put into the fields; empty for a place or
// variant out of range.
std::vector<TFieldText> VoltFields(int variant, int place, std::uint8_t whole,
                                   std::uint8_t hundredths);
std::vector<TFieldText> PresetFields(int place, const std::array<std::uint8_t, 6>& bytes);
std::vector<TFieldText> MeasuredField(int place, int index, std::uint16_t hundredths);
std::vector<TFieldCheck> StatusChecks(int place, std::uint8_t status);

// One decoded packet: what the page shows and the green log line.
struct TBenchDecoded {
    std::uint8_t type = 0;
    std::size_t length = 0;   // full length by the type letter; 0: no packet
    std::size_t received = 0; // bytes of it that arrived, at most length
    bool crcOk = false;
    QString logLine; // empty when there is nothing to log
    std::vector<TFieldText> texts;
    std::vector<TFieldCheck> checks;
};

// Decodes the packet that starts at bytes[0]; bytes past its length are not
// looked at. Only fields whose bytes all arrived are given; a packet that
// did not arrive whole fails its checksum, and its log line shows "?" for
// the values that are missing.
TBenchDecoded prAnalyzeAnswer(const std::uint8_t* bytes, std::size_t received);

} // namespace qv2f3
