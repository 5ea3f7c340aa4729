// The RO-4D commands on channel 0, one call each, for the pages and the
// command line alike: each opens the port for the command, runs its frames
// through the transaction engine, closes the port and names what failed.
#pragma once

#include "devices/qv4m/ro4d_compare.h"
#include "devices/qv4m/ro4d_protocol.h"
#include "engine/command_result.h"

#include <array>
#include <functional>

using TRo4dPageWords = std::array<std::uint16_t, kRo4dPageWords>;

// What a read hands over while it runs, so a read that stops part-way has
// handed over the pages before the failure.
struct TRo4dReadSink {
    // The version text once the version step is over; empty when the unit
    // did not answer it (the board is then taken for 1.x).
    std::function<void(const QString& version)> version;
    // Page 0..6, each as soon as it came with status "done".
    std::function<void(int page, const TRo4dPageWords& words)> page;
    // All seven pages came; runs before the port is closed.
    std::function<void()> allPages;
};

// Version, then pages 0 to 6 into unit, each page only after every earlier one
// came. A unit that does not answer the version is still read, as a 1.x
// board; the log says so in red, since a 2.x board's voltages would then be
// shown on the wrong scale, and unit.versionRead stays false.
TCommandResult Ro4dRead(TRo4dUnitImage& unit, const TRo4dReadSink& sink = {});
// The seven write frames; each only after every earlier one was done.
TCommandResult Ro4dWrite(const TParamRegs& params, const TModeRegs& mode);
TCommandResult Ro4dSaveToFlash();
TCommandResult Ro4dRestart();
TCommandResult Ro4dReadErrors(TRo4dErrors& errors);
TCommandResult Ro4dReadAdc(std::uint8_t channel, std::uint16_t& value);

// What the last command left known of the unit: the version it gave, the
// configuration the last read brought (the pages it came to) or the last
// write sent, and the command's result. The archive records from it.
struct TRo4dKnown {
    QString version;
    TRo4dImage image;
    TCommandResult result;
};
const TRo4dKnown& Ro4dLastKnown();

// One request on the open port: its CRC appended, the reply length set;
// with checkStatus the reply's status byte must say done.
TCommandResult Ro4dExchange(const TRo4dRequest& request, const QString& step,
                            bool checkStatus = true);
