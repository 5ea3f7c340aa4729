// One request/response exchange: the request in TxBuf goes out through the
// core's serial port of channel 0 (port/channel_port.h), the reply is collected into RxBuf with
// retries and reply stitching, and the pair is written to the log. The engine knows nothing about
// frames: it sends TxLength bytes and wants RxExpected back.
#pragma once

#include "base/bytes.h"
#include "exchange/log_state.h"

#include <QStringList>
#include <cstdint>
#include <functional>

class TCustomComPortD;

// Writes one status line to the exchange log in the given colour.
void LogStatusLine(const QString& text, TLogColor color);

// Tells whether the bytes that came back (the first length of reply) can be
// this request's reply: empty when they can, else the log line saying whose
// reply they are. The engine knows no frames; the caller does.
using TReplyCheck = std::function<QString(const TMasBytes& reply, std::uint16_t length)>;

// Runs one request on the channel (only PortOpen/PortCrash depend on it; every
// exchange goes through ComPortD1). The result is left in ExchangeState. A
// reply the check refuses (one that answers an earlier request and came late)
// is logged in red and dropped with whatever still follows it, and the
// attempt counts as one without reply, so the retries run. With a check, a
// reply that came only on a retry is followed by a wait for the earlier
// attempts' replies: one arriving then shows the reply taken was not this
// attempt's, and the exchange fails.
void RunTransaction(std::uint8_t bNumChannel, const TReplyCheck& check = {});

// The pages' answer: false when the channel's port is not open (nothing is
// sent); true for a request without reply once handed over; otherwise true
// exactly when RxExpected bytes came back.
bool SendReceive(std::uint8_t bNumChannel, const TReplyCheck& check = {});

// Set while a request/reply exchange runs: its pauses may pump messages, and
// background reception must then neither take its bytes nor rewrite RxBuf,
// RxLength and RxExpected under it.
extern bool ExchangeRunning;

// Waits TimeDelay ms while the window messages keep being processed (when
// there are any: see platform::SetEventPumping).
void pDelay(std::uint32_t TimeDelay);

// The attempt counter wraps here when the attempts are endless.
inline constexpr int kAttemptsWrap = 65535;

struct TAttemptVerdict {
    bool goingOn = false;
    // Retry notes for the log, in violet.
    QStringList notes;
};

// Judges one finished attempt: only an attempt that brought back nothing is
// repeated, up to numOfRepeat attempts in all. attempts is updated in place.
TAttemptVerdict JudgeAttempt(bool replyFailed, std::uint16_t rxLength, bool goingOn, int& attempts,
                             std::int32_t numOfRepeat);

// Before a retry: reads what is still arriving from an earlier attempt into
// RxTailBuf (never past it; more than it holds is taken by the next pass) and
// logs it in red, at most ten passes. evenIfQuiet makes the first pass wait
// its read time-out for bytes still on their way.
void DiscardStaleInput(TCustomComPortD& port, bool evenIfQuiet = false);

// Completes a reply that came short of want bytes with one more read, when
// more bytes are waiting right after the first read.
void StitchReply(TCustomComPortD& port, std::uint16_t want);
