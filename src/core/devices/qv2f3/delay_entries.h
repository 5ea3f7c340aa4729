// What the bench's six delay entries may hold: the unit keeps each in a byte.
#pragma once

#include "devices/entries/entry_rule.h"

#include <cstddef>

// Delay k in the settings' order T11, T12, T13, T21, T22, T23.
TCheckedEntry Zi2z3DelayEntry(std::size_t k);
