// The faults a unit or an adapter shows on the line, as the simulator plays
// them to every command of every page, and what a command is expected to do.
#pragma once

#include "faults.h"

#include <QString>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace line {

// Reply time-outs. A command meant to fail waits kMissTimeOutMs, so a
// silent unit costs little; wherever the reply is meant to come (the faults
// it survives, the commands before and after a case) it may take
// kReplyTimeOutMs, which a loaded machine does not use up: the simulator
// answers within a few ms when idle. A short or garbled reply that a loaded
// machine delays past kMissTimeOutMs ends in the same error as silence.
constexpr int kMissTimeOutMs = 80;
constexpr int kReplyTimeOutMs = 400;
constexpr int kPreSendPauseMs = 5;
// One attempt per request: the faults here are the pages' to handle, and
// a repeated attempt only multiplies the time a silent unit costs (the
// repeats themselves are the exchange engine's, tested with it).
constexpr int kAttempts = 1;

enum class LineFault {
    Silence,    // no reply to any attempt
    Late,       // every attempt's reply comes after the time-out
    LateWithin, // the reply comes late, but inside the time-out
    Short,      // the reply loses its last byte
    Split,      // the reply in two halves, both inside the time-out
    Crc,        // the reply's last byte (checksum or end mark) is wrong
    Garbage,    // stray bytes before the reply
    Refuse,     // the unit refuses a write
    Drop,       // the line drops instead of the reply
};

const std::vector<LineFault>& AllFaults();
std::string FaultName(LineFault fault);
// The simulator's fault for this one: it hits the reply (or write) after the
// first `after` have gone through untouched. Silence and lateness hit as many
// replies in a row as there are attempts, so that every attempt misses.
// A late reply comes well after missTimeOutMs; a reply late within the
// time-out, or split, well inside replyTimeOutMs.
sim::Fault SimFault(LineFault fault, int after, int attempts, int missTimeOutMs,
                    int replyTimeOutMs);

// One command button of a page.
struct LineCommand {
    const char* name;   // in test names: Command_Fault
    const char* button; // objectName of its button
    int replies;        // replies it waits for when all goes well
    int maxFrameBytes;  // its longest request, for the send time
    int faultAfter;     // replies (writes, for a refusal) let through before the fault
    bool writes;        // the unit may refuse it
    QString done;       // status after success
    QString failed;     // status after a failed exchange
    QString refused;    // status after a refusal; empty: the command does not examine it
    // Editors its replies fill: the editor and the index of the reply that fills it;
    // kClears for an editor the command empties whatever comes back.
    struct Fill {
        const char* editor;
        int reply;
    };
    std::vector<Fill> fills;
    // Its replies' last byte (CRC or end mark) is examined: a reply with a
    // wrong last byte fails.
    bool lastByteChecked = false;
};
constexpr int kClears = -1;

enum class Expect {
    Done,          // the reply comes inside the time-out and is sound
    DoneUnchecked, // the command takes the reply as it is (no check of that part)
    Failed,
    Refused,
};
Expect Expected(const LineCommand& command, LineFault fault);
QString ExpectedStatus(const LineCommand& command, LineFault fault);
// Whether the editor may have changed: a reply meant to fill it has come.
bool MayFill(const LineCommand& command, LineFault fault, const char* editor);

struct FaultCase {
    const LineCommand* command;
    LineFault fault;
};
// Failure messages name the case, not its bytes.
inline void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.command->name << '_' << FaultName(c.fault);
}
// Every command with every fault that applies to it (refusals to writes
// only), but for those skipped.
std::vector<FaultCase> Cases(const std::vector<LineCommand>& commands,
                             const std::vector<LineFault>& skipped = {});
std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info);

// Upper bound of a command's run on a loaded machine: every reply may take
// all its attempts, each with its send, time-out and the pause before a retry,
// plus the port's opening and closing and a wide margin. Only a hang passes it.
int DeadlineMs(const LineCommand& command, int timeOutMs);

} // namespace line

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
