// Misbehaviour a simulated unit can be told to show: the line faults a
// technician meets with real units and adapters, one list per unit.
#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace sim {

enum class FaultKind {
    Silence,     // the request gets no reply
    Late,        // the reply leaves value ms late
    Short,       // the reply loses its last value bytes (default 1)
    Split,       // the reply goes out in two halves, value ms apart (default 50)
    SplitFirst,  // the reply's first byte goes alone, the rest value ms later (default 50)
    BadChecksum, // the last byte of the reply (CRC low byte or sum) is inverted
    Garbage,     // value stray bytes (default 3) come before the reply
    Refuse,      // a write or save is refused with the unit's error code
    DropLine,    // the line drops instead of the reply, as when an adapter is pulled
    Keep,        // a write is acknowledged as done, but the unit keeps its old values
};

struct Fault {
    FaultKind kind = FaultKind::Silence;
    int value = -1; // kind-dependent amount; -1 takes the default
    int count = -1; // replies (writes for Refuse) it affects; -1 = always
    int after = 0;  // replies (writes for Refuse) left alone before it starts

    // The amount in effect: value, or the kind's default.
    int amount() const;
};

// What triggers a fault: every reply the unit sends, or every write it is asked to do.
enum class FaultTrigger { Reply, Write };

class FaultSet {
public:
    void add(const Fault& fault) { faults_.push_back(fault); }
    void clear() { faults_.clear(); }
    bool empty() const { return faults_.empty(); }
    const std::vector<Fault>& list() const { return faults_; }

    // Counts one reply (or write) against every fault of that trigger and
    // returns those that apply to it; spent faults leave the set.
    std::vector<Fault> next(FaultTrigger trigger);

private:
    std::vector<Fault> faults_;
};

FaultTrigger TriggerOf(FaultKind kind);
QString FaultKindName(FaultKind kind);

// Reads "kind[:value][,count=N][,after=M]", e.g. "late:300", "silence,count=2",
// "drop,after=5". Kinds: silence, late, short, split, crc, garbage, refuse, drop, keep.
// On a bad text returns nothing and says why in error.
std::optional<Fault> ParseFault(const QString& text, QString* error = nullptr);
// The help text listing the fault kinds, for the command line.
QString FaultSyntaxHelp();

} // namespace sim
