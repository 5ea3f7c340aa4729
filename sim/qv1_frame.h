// The simulated units' side of the QV1 command frame of the RI1-R and of the
// ZI2-Z3 session: telling a request's length and validity, and building
// replies. The frame itself is the core's (devices/qv1/qv1_framing.h).
#pragma once

#include "sim_unit.h"

#include <QStringView>
#include <array>
#include <cstdint>

namespace sim {

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
