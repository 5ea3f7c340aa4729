// How the RI1-R and ZI2-Z3 services reach the unit: opening channel 0 for a command, one
// request/reply transaction over ExchangeState, and the background reception
// the ZI2-Z3 bench's watch holds the port with. All default to "no line"
// (nothing opens, every exchange fails, nothing is switched) until the
// program wires them:
//   Qv1Line().openClose = [w](bool open) { w->prOpenCloseCOM(0, open); };
//   Qv1Line().sendReceive = [w] { return w->funSendReceive1(0); };
//   Qv1Line().setPhonReceive = [m](bool on) { m->ComPortD1->SetPhonReceive(on); };
#pragma once

#include "devices/qv1/qv1_framing.h"
#include "engine/transaction.h"

#include <functional>
#include <optional>

struct TQv1Line {
    // Opens (true) or closes (false) the port of channel 0.
    std::function<void(bool open)> openClose;
    // Runs the request standing in ExchangeState.TxBuf / TxLength and waits for
    // RxExpected bytes; true only when exactly that many arrived in RxBuf and
    // the check (the engine's, transaction.h) took them as this request's.
    std::function<bool(const TReplyCheck& check)> sendReceive;
    // Background reception of the port component between exchanges.
    std::function<void(bool on)> setPhonReceive;
};

TQv1Line& Qv1Line();
// Back to "no line"; for tests.
void ResetQv1Line();

// Opens or closes channel 0 through the line.
void Qv1OpenClose(bool open);
// Switches background reception on or off through the line.
void Qv1SetPhonReceive(bool on);
// Puts the request into ExchangeState and runs it; the reply bytes when the
// exchange succeeded. With endMarked, a reply whose last byte is not the end
// mark is refused: whatever it holds is not taken (its bytes are misframed).
std::optional<TMasBytes> Qv1Exchange(const TQv1Request& request, bool endMarked = false);
