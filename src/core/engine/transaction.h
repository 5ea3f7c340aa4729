// One request/response exchange: the request in TxBuf goes out through the
// core's serial port of channel 0 (port/channel_port.h), the reply is collected into RxBuf with
// retries and reply stitching, and the pair is written to the log. The engine knows nothing about
// frames: it sends TxLength bytes and wants RxExpected back.
#pragma once

#include "exchange/log_state.h"

#include <QStringList>
#include <cstdint>

class TCustomComPortD;

// Writes one status line to the exchange log in the given colour.
void LogStatusLine(const QString& text, TLogColor color);

// Runs one request on the channel (only PortOpen/PortCrash depend on it; every
// exchange goes through ComPortD1). The result is left in ExchangeState.
void RunTransaction(std::uint8_t bNumChannel);

// The pages' answer: false when the channel's port is not open (nothing is
// sent); true for a request without reply once handed over; otherwise true
// exactly when RxExpected bytes came back.
bool SendReceive(std::uint8_t bNumChannel);

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
// logs it in red, at most ten passes.
void DiscardStaleInput(TCustomComPortD& port);

// Completes a reply that came short of want bytes with one more read, when
// more bytes are waiting right after the first read.
void StitchReply(TCustomComPortD& port, std::uint16_t want);
