// Requests to the ZI2-Z3 bench and the reading of its replies. Session and
// settings travel in the QV1 command frame (length, command letter, payload,
// "<"); bench commands are three bytes "C", code, sum.
#pragma once

#include "base/bytes.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstddef>
#include <cstdint>

namespace qv2f3 {

inline constexpr std::uint8_t kBenchCommandLetter = 0x43;

inline constexpr std::size_t kSessionReplyLength = 8;
inline constexpr std::size_t kReadTimesReplyLength = 9;
inline constexpr std::size_t kWriteTimesReplyLength = 3;

// The six delay settings in the order the unit keeps them: T11, T12, T13, T21, T22, T23.
using TDelaySettings = std::array<std::uint8_t, 6>;

TMasBytes SessionFrame();
TMasBytes ReadTimesFrame();
TMasBytes WriteTimesFrame(const TDelaySettings& settings);
TMasBytes BenchCommandFrame(std::uint8_t code);

// Replies; each takes the whole reply of its length (the engine checks it).
QString SessionIdent(const TMasBytes& reply); // the five characters of bytes 2..6
// "Устройство: " and the identification, as the page and the command line show it.
QString UnitCaption(const QString& ident);
TDelaySettings ReadTimesValues(const TMasBytes& reply);
bool WriteTimesAccepted(const TMasBytes& reply);

// The eight bench commands with their page texts.
enum class TBenchClear { Nothing, IdleVolt, WorkVolt, WorkCurrent, Presets, Measured };
struct TBenchCommand {
    std::uint8_t code;
    const char* progress; // UTF-8
    const char* success;  // UTF-8
    TBenchClear clear;
};
// The command of that code; nullptr for a code that is no bench command.
const TBenchCommand* FindBenchCommand(std::uint8_t code);

} // namespace qv2f3
