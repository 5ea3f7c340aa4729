// RO-4D requests and replies as plain data: what each command sends, how long
// its reply is, and how the reply's bytes are read. No I/O here.
#pragma once

#include "devices/qv4m/qv4m_registers.h"
#include "exchange/frame.h"

#include <QString>
#include <array>
#include <cstdint>

// A request without its CRC, and the whole length of the reply it wants.
struct TRo4dRequest {
    TMasBytes bytes;
    std::uint16_t replyLength = 0;
};

inline constexpr int kRo4dPageCount = 7;
inline constexpr int kRo4dWriteFrames = 7;
inline constexpr int kRo4dPageWords = 8;
// The status byte of every reply; 1 means done.
inline constexpr int kRo4dStatusByte = 3;
inline constexpr std::uint8_t kRo4dDone = 1;
// The ADC channel sent for anything beyond the list (and for no selection).
inline constexpr std::uint8_t kAdcLastChannel = 5;

TRo4dRequest VersionRequest();
TRo4dRequest PageRequest(std::uint8_t page);
TRo4dRequest SaveToFlashRequest();
TRo4dRequest RestartRequest();
TRo4dRequest ReadErrorsRequest();
TRo4dRequest AdcRequest(std::uint8_t channel);
// The seven write frames, in the order they are sent: parameters from
// register 0 (with a leading zero word), then the mode words from 0x20.
std::array<TRo4dRequest, kRo4dWriteFrames> WriteRequests(const TParamRegs& params,
                                                         const TModeRegs& mode);

// Word k of a reply's data (bytes 4 + 2k and 5 + 2k, low byte first).
std::uint16_t ReplyWord(const TMasBytes& reply, int k);
std::array<std::uint16_t, kRo4dPageWords> PageWords(const TMasBytes& reply);

// The log line for a reply of length bytes whose CRC does not match its
// bytes, naming the CRC expected and the one received; empty when it matches.
// The reply still counts: units in the field may rely on that.
QString ReplyCrcMismatch(const TMasBytes& reply, std::size_t length);

// The log line for a reply whose command byte is not that of the request
// sent: it answers another request (one that came late), so it is not this
// one's. Empty when the command matches, or the reply is too short to tell.
QString ReplyCommandMismatch(const TMasBytes& reply, std::size_t length, std::uint8_t command);

// The 21 characters of a version reply, one per byte (0x80..0xFF stay U+0080..U+00FF).
QString VersionText(const TMasBytes& reply);
// The board generation from a version text: characters 9 and 11 as two
// hexadecimal-looking digits (version 2.1 gives 0x21); 0x10 for a text of
// eleven characters or fewer, and a character that is no digit counts 0.
std::uint8_t BoardGeneration(const QString& versionText);

// The item of the ADC channel combo as the channel byte sent.
std::uint8_t AdcChannelOf(int itemIndex);

// The three error values of a read-errors reply.
struct TRo4dErrors {
    std::uint16_t wErr1 = 0;
    std::uint16_t wErr2 = 0;
    std::uint8_t bVoltErr = 0;
};
TRo4dErrors ErrorsOf(const TMasBytes& reply);
