// What became of a device command: done, or which step failed and how. The
// pages show only "done" or "error"; the command line names the failure.
#pragma once

#include <QString>
#include <cstdint>

enum class TCommandFault {
    None,
    // The port could not be opened (detail: the reason the user was told).
    PortNotOpen,
    // Nothing came back within the attempts.
    NoReply,
    // A reply of another length than the command's (detail: what came).
    WrongLength,
    // The unit answered that it did not do it.
    Refused,
    // Replies came, but readings of the same data disagreed: the line mixed
    // up which reply answered which request.
    Unmatched,
};

struct TCommandResult {
    TCommandFault fault = TCommandFault::None;
    // The request that failed, as a technician names it ("страница 3").
    QString step;
    QString detail;

    bool ok() const { return fault == TCommandFault::None; }
    // One Russian sentence naming the failure; empty when done.
    QString text() const;
};

// The outcome of the last SendReceive on channel 0, the status byte aside:
// port not open, no reply or a reply of the wrong length.
TCommandResult ExchangeOutcome(bool received, const QString& step);
