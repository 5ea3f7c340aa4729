// The QV1 command frame of the RI1-R and of the ZI2-Z3 session: length byte,
// command byte, payload, terminator "<". Replies have a fixed length per
// command; these units put their length in byte 0 and ">" in the last byte.
#pragma once

#include "sim_unit.h"

#include <QStringView>
#include <array>
#include <cstdint>

namespace sim {

inline constexpr std::uint8_t kQv1Terminator = 0x3C; // "<"
inline constexpr std::uint8_t kQv1ReplyEnd = 0x3E;   // ">"
inline constexpr std::size_t kQv1MinFrame = 3;
inline constexpr std::size_t kQv1MaxFrame = 32;

// Frame length announced by the head of buf, or 0 when buf[0] cannot be one.
std::size_t Qv1FrameLength(const Bytes& buf);
bool Qv1FrameValid(const Bytes& frame);
// True when the frame's payload (bytes 2 .. L-2) is the session code.
bool Qv1HasSessionCode(const Bytes& frame);

// A request as the program sends it.
Bytes Qv1Request(std::uint8_t command, const Bytes& payload = {});
// A reply of length bytes: the length, body from byte 1 on (zero-filled), ">" last.
Bytes Qv1Reply(std::size_t length, const Bytes& body);

// Text in code page 866 (Cyrillic letters and ASCII; anything else becomes "?").
Bytes ToCp866(QStringView text);

} // namespace sim
