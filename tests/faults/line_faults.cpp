#include "line_faults.h"

#include <algorithm>

namespace line {

namespace {
// The retry pause of the exchange (200 ms) with room for its discard pass.
constexpr int kRetryPauseMs = 250;
// Bytes are paced 4 ms apart; 5 leaves room for the pumping between them.
constexpr int kByteMs = 5;
// Opening (two timed attempts, 10 ms each) and closing the port, on a loaded machine.
constexpr int kPortMs = 500;
constexpr int kMarginMs = 5000;
} // namespace

const std::vector<LineFault>& AllFaults() {
    static const std::vector<LineFault> all{
        LineFault::Silence, LineFault::Late,   LineFault::LateWithin,
        LineFault::Short,   LineFault::Split,  LineFault::Crc,
        LineFault::Garbage, LineFault::Refuse, LineFault::Drop};
    return all;
}

std::string FaultName(LineFault fault) {
    switch (fault) {
    case LineFault::Silence:
        return "Silence";
    case LineFault::Late:
        return "Late";
    case LineFault::LateWithin:
        return "LateWithinTimeOut";
    case LineFault::Short:
        return "Short";
    case LineFault::Split:
        return "Split";
    case LineFault::Crc:
        return "BadChecksum";
    case LineFault::Garbage:
        return "Garbage";
    case LineFault::Refuse:
        return "Refused";
    case LineFault::Drop:
        return "Drop";
    }
    return "Unknown";
}

sim::Fault SimFault(LineFault fault, int after, int attempts, int missTimeOutMs,
                    int replyTimeOutMs) {
    sim::Fault f;
    f.after = after;
    f.count = 1;
    switch (fault) {
    case LineFault::Silence:
        f.kind = sim::FaultKind::Silence;
        f.count = attempts;
        break;
    case LineFault::Late:
        // Far enough after the time-out that a program held up at its end
        // does not catch it, and gone (discarded) before a retry's 200 ms
        // pause is over.
        f.kind = sim::FaultKind::Late;
        f.value = missTimeOutMs + 150;
        f.count = attempts;
        break;
    case LineFault::LateWithin:
        f.kind = sim::FaultKind::Late;
        f.value = replyTimeOutMs / 6;
        break;
    case LineFault::Short:
        f.kind = sim::FaultKind::Short;
        f.value = 1;
        break;
    case LineFault::Split:
        f.kind = sim::FaultKind::Split;
        f.value = replyTimeOutMs / 6;
        break;
    case LineFault::Crc:
        f.kind = sim::FaultKind::BadChecksum;
        break;
    case LineFault::Garbage:
        f.kind = sim::FaultKind::Garbage;
        f.value = 3;
        break;
    case LineFault::Refuse:
        f.kind = sim::FaultKind::Refuse;
        break;
    case LineFault::Drop:
        f.kind = sim::FaultKind::DropLine;
        break;
    }
    return f;
}

Expect Expected(const LineCommand& command, LineFault fault) {
    switch (fault) {
    case LineFault::LateWithin:
    case LineFault::Split:
        return Expect::Done;
    case LineFault::Crc:
        // A RO-4D reply with a wrong CRC is refused and a ZI2-Z3 reply without
        // its end mark misframed; the RI1-R reply's end mark is not examined.
        return command.lastByteChecked ? Expect::Failed : Expect::DoneUnchecked;
    case LineFault::Refuse:
        return command.refused.isEmpty() ? Expect::DoneUnchecked : Expect::Refused;
    default:
        return Expect::Failed;
    }
}

QString ExpectedStatus(const LineCommand& command, LineFault fault) {
    switch (Expected(command, fault)) {
    case Expect::Done:
    case Expect::DoneUnchecked:
        return command.done;
    case Expect::Refused:
        return command.refused;
    case Expect::Failed:
        break;
    }
    return command.failed;
}

bool MayFill(const LineCommand& command, LineFault fault, const char* editor) {
    const bool done = Expected(command, fault) != Expect::Failed;
    for (const LineCommand::Fill& f : command.fills) {
        if (qstrcmp(f.editor, editor) != 0)
            continue;
        // Replies before the fault come whole; after a failure the rest never come.
        if (f.reply == kClears || done || f.reply < command.faultAfter)
            return true;
    }
    return false;
}

std::vector<FaultCase> Cases(const std::vector<LineCommand>& commands,
                             const std::vector<LineFault>& skipped) {
    std::vector<FaultCase> cases;
    for (const LineCommand& c : commands)
        for (LineFault f : AllFaults())
            if ((f != LineFault::Refuse || c.writes) &&
                std::find(skipped.begin(), skipped.end(), f) == skipped.end())
                cases.push_back({&c, f});
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) {
    return std::string(info.param.command->name) + "_" + FaultName(info.param.fault);
}

int DeadlineMs(const LineCommand& command, int timeOutMs) {
    const int attempt = kPreSendPauseMs + command.maxFrameBytes * kByteMs + timeOutMs;
    const int exchange = kAttempts * attempt + (kAttempts - 1) * kRetryPauseMs;
    return std::max(command.replies, 1) * exchange + kPortMs + kMarginMs;
}

} // namespace line
