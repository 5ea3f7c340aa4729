// Putting the seven pages of a read onto the page values, one page at a time,
// so a read that stops part-way leaves the pages decoded so far.
#pragma once

#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/ro4d_protocol.h"

#include <array>
#include <cstdint>

// What a read carries from one page to the next.
struct TReadCarry {
    // Reference voltage shown from page 1; the thresholds of pages 1 and 2 use it.
    double vrefShown = 0.0;
    // wFlag_Mode_1 from page 2; its bits 5 and 6 set the AND/OR groups at the end.
    std::uint16_t flagMode1 = 0;
    // The 20 mode words from pages 4 to 6.
    std::array<std::uint16_t, kModeFieldCount> modeWords{};
};

class TShownCodes;

// Decodes page `page` (0..6) into the page values, the main mode and the carry.
// rVoltOpora and board2x are those the version just set. With shown, each
// voltage shown is noted with the code it came from.
void DecodeReadPage(int page, const std::array<std::uint16_t, kRo4dPageWords>& words,
                    double rVoltOpora, bool board2x, TQv4mParams& p, int& mainMode,
                    TReadCarry& carry, TShownCodes* shown = nullptr);
