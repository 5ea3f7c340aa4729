// The texts of the exchange log lines, built from plain bytes so they are
// checked without the window.
#pragma once

#include "exchange/log_state.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// One byte: two hex digits, or three places of decimal padded with blanks.
QString LogByteText(std::uint8_t b, bool hex);
// The bytes joined by "."; every byte is shown, however many there are.
QString LogBytesText(const std::uint8_t* bytes, std::size_t count, bool hex);
// The line number right-aligned in five places, then " : ".
QString LogNumberPrefix(int lineNo);

// The request row of a command entry; the attempt count follows from 2 on.
QString CmdRequestText(int lineNo, const std::uint8_t* bytes, std::size_t count, int attempts,
                       bool hex);
// The reply row of a command entry, indented by eight blanks, with the latency.
QString CmdReplyText(const std::uint8_t* bytes, std::size_t count, int latencyMs, bool hex);
// A numbered byte line with the latency after every byte: "53 (7 мс).41 (7 мс)".
QString ByteLineText(int lineNo, const QString& chars, bool hex, int latencyMs);

// The status line AnalyzeLog stands for; a pending " : iVal" is used up.
QString TakeStatusText(TAnalyzeLog& record);
