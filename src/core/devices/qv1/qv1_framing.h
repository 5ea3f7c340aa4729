// The QV1 command frame that the RI1-R unit speaks and the ZI2-Z3 bench uses
// for its session and settings: length byte, command byte, payload, "<".
// Replies have a fixed length per command, with ">" in their last byte. The
// program, the command line and the simulated units all build it here.
#pragma once

#include "base/bytes.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// One exchange: the request frame and the fixed length of its reply.
struct TQv1Request {
    TMasBytes frame;
    std::uint16_t replyLength = 0;
};

namespace qv1 {

inline constexpr std::uint8_t kTerminator = 0x3C; // "<", the last byte of a request
inline constexpr std::uint8_t kReplyEnd = 0x3E;   // ">", the last byte of a reply

// Length byte, command, payload, terminator.
TMasBytes Frame(std::uint8_t command, const std::uint8_t* payload, std::size_t count);

// The log line for a reply of length bytes whose last byte is not the end
// mark, naming the byte expected and the one received; empty when the mark
// is there. Such a reply still counts, as it always has.
QString ReplyEndMismatch(const TMasBytes& reply, std::size_t length);

} // namespace qv1
