// What a numeric entry of a device page may hold, and whether a typed text
// means exactly the number the unit would get. The pages read numbers
// leniently (a stray letter ends the number, a fraction is dropped, the
// value is cut to its field); an entry the lenient reading would change is a
// fault, so nothing the technician did not mean is sent.
#pragma once

#include <QString>
#include <optional>
#include <vector>

struct TEntryRule {
    enum class Kind { Whole, Decimal };
    Kind kind = Kind::Whole;
    double min = 0;
    double max = 0;
    // A lower bound the value must exceed ("> 6"), rather than reach.
    bool minExclusive = false;
    // Unit of measure in the range text; empty where the unit has none.
    QString unit;
    // A whole field the unit keeps divided: the page's value steps by this.
    int step = 1;
    // A text the page leaves in place of an unknown value ("?"): kept as is.
    QString placeholder;

    static TEntryRule Whole(double min, double max, const QString& unit = {}, int step = 1);
    static TEntryRule Decimal(double min, double max, const QString& unit);
};

// Why text is not a value of rule (nullopt when it is one).
std::optional<QString> EntryFault(const TEntryRule& rule, const QString& text);
// The allowed values, e.g. "от 0 до 255 сек" or "от 0,00 до 5,00 В".
QString RangeText(const TEntryRule& rule);
// The tooltip of an entry: its range, and the fault when there is one.
QString EntryToolTip(const TEntryRule& rule, const std::optional<QString>& fault);

// An entry that blocks a write, as the message names it.
struct TEntryFault {
    QString caption;
    QString text;
    QString reason;
    QString range;
};

// A checked entry of a page: its caption and rule.
struct TCheckedEntry {
    QString caption;
    TEntryRule rule;
};

// The message a blocked write shows: every faulty entry with what was typed
// and what is allowed.
QString BlockedWriteMessage(const std::vector<TEntryFault>& faults);
