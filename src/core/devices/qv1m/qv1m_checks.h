// What each RI1-R entry may hold: the fields' widths, and for the channel
// times the rules the page's hints state, which are the rules the unit
// refuses a mode by.
#pragma once

#include "devices/entries/entry_rule.h"
#include "devices/qv1m/qv1m_data.h"

#include <QStringList>
#include <array>
#include <optional>

// Ton, T6sec and Toff of channel c in mode index n for its two radio groups.
// A channel the mode does not drive, and a time its rule does not use, may
// hold any value of its field. t6sec is the channel's T6sec when it is one.
std::array<TCheckedEntry, 3> Qv1TimeEntries(int n, int c, bool alternate, bool byTime,
                                            std::optional<std::uint16_t> t6sec);
// A time entry's value, when its text is a whole number the field holds.
std::optional<std::uint16_t> Qv1TimeValue(const QString& text);
// Fault delay of relay k (1..3).
TCheckedEntry Qv1DelayEntry(int k);
TCheckedEntry Qv1ReferenceEntry();
// Threshold i (0 Umin, 1 Uсраб., 2 Umax) against the reference when it is one;
// "?" (no value yet) keeps the threshold's code.
TCheckedEntry Qv1ThresholdEntry(int i, std::optional<double> rVolt);

// The values of a set that break those rules, each named ("режим 3, канал 1,
// T6sec = 3: допустимо от 7 до 65535").
QStringList Qv1mSetFaults(const TQv1mSet& set);
