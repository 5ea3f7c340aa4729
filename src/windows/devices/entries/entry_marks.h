// Marks on a page's edits: an entry whose text a write would not send as
// typed is tinted and says why in its tooltip; every checked entry's tooltip
// gives its range.
#pragma once

#include "devices/entries/entry_rule.h"

#include <optional>
#include <vector>

class QLineEdit;

// Checks edit against entry, marks it or clears its mark, and adds its fault.
void MarkEntry(QLineEdit* edit, const TCheckedEntry& entry, std::vector<TEntryFault>* faults);
// An edit that is not checked now (hidden for this board): no mark, no range.
void UnmarkEntry(QLineEdit* edit);
bool IsEntryMarked(const QLineEdit* edit);

// False, with a message naming every fault, when faults is not empty.
bool EntriesAllowWrite(const std::vector<TEntryFault>& faults);
