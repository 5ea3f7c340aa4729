// Every RI1-R request and reply, in the QV1 command frame that the RI1-R and
// the ZI2-Z3 share (devices/qv1/qv1_framing.h). Plain functions over bytes.
#pragma once

#include "devices/qv1/qv1_framing.h"
#include "devices/qv1m/qv1m_data.h"
#include "exchange/frame.h"

#include <QString>
#include <cstdint>
#include <initializer_list>

// Length byte, command, payload, terminator "<".
TMasBytes Qv1Frame(std::uint8_t command, const TMasBytes& payload = {});
// Appends a 16-bit value low byte first.
void Qv1PutWord(TMasBytes& bytes, std::uint16_t value);

// Reply lengths.
inline constexpr std::uint16_t kQv1SessionReplyLength = 34;
inline constexpr std::uint16_t kQv1ModeReplyLength = 23;
inline constexpr std::uint16_t kQv1TimeErrReplyLength = 8;
inline constexpr std::uint16_t kQv1VoltFlagsReplyLength = 9;
inline constexpr std::uint16_t kQv1ResultReplyLength = 3;

// The mode digit of mode index n: "1" for index 0.
inline std::uint8_t Qv1ModeDigit(int n) {
    return static_cast<std::uint8_t>(0x31 + n);
}

TQv1Request Qv1StartSessionRequest();                          // "s" + session code
TQv1Request Qv1ReadModeRequest(int n);                         // "o" + mode digit
TQv1Request Qv1ReadTimeErrRequest();                           // "p"
TQv1Request Qv1ReadVoltFlagsRequest();                         // "r"
TQv1Request Qv1WriteModeRequest(const TQv1mSet& set, int n);   // mode digit + 21 bytes
TQv1Request Qv1WriteTimeErrRequest(const RQV1M_val2& s);       // "i"
TQv1Request Qv1WriteVoltFlagsRequest(const RQV1M_val2& s);     // "0"
TQv1Request Qv1CmdTRequest();                                  // "t"
TQv1Request Qv1WriteDateRequest(int day, int month, int year); // "d", BCD
TQv1Request Qv1EndSessionRequest(bool restart);                // "q"
TQv1Request Qv1SwitchModeRequest(int n);                       // "u" + mode digit

// Reply decoders. Each expects a reply of its command's full length.

// Bytes 1..32 of the session reply as text: code page 866 letters, with
// control codes, 0x7F, the pseudographics 0xB0..0xDF and 0xF2..0xFF blanked.
QString Qv1DecodeIdentText(const TMasBytes& reply);
// Bytes 22..29 of the session reply: "dd.mm.yy".
QString Qv1DecodeReleaseDate(const TMasBytes& reply);
// Byte 32 minus the digit "1": the unit's current mode index (-1 without it).
int Qv1DecodeCurrentMode(const TMasBytes& reply);
// The 21-byte mode layout at bytes 1..21 of an "o" reply into mode n of set.
void Qv1DecodeMode(const TMasBytes& reply, TQv1mSet& set, int n);
void Qv1DecodeTimeErr(const TMasBytes& reply, RQV1M_val2& s);
void Qv1DecodeVoltFlags(const TMasBytes& reply, RQV1M_val2& s);
// Byte 1 of a write reply: 0 means accepted; a reply without it gives 0xFF.
std::uint8_t Qv1ResultCode(const TMasBytes& reply);

// True when any of the day, month and year groups of a "dd.mm.yy" text is not "00".
bool Qv1DateIsSet(const QString& initDate);
