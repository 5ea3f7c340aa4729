// The ZI2-Z3 bench commands on channel 0, for the bench page and the command
// line alike, each with a result that names what failed: the session with the
// six delay settings, their write, the bench commands, and the watch that
// takes the packets the bench sends back. The line is the QV1 line
// (devices/qv1/qv1_link.h), which the program wires to its port.
#pragma once

#include "devices/qv2f3/bench_frames.h"
#include "devices/qv2f3/bench_packet.h"
#include "engine/command_result.h"

#include <functional>

// Steps on a line already open, as the page runs them between its own
// opening and closing.
// The session start: the unit's five identification characters.
TCommandResult Zi2z3StartSession(QString& ident);
// The six delay settings.
TCommandResult Zi2z3ReadDelays(qv2f3::TDelaySettings& delays);
// The six delay settings written in one frame; the unit must accept them.
TCommandResult Zi2z3WriteDelays(const qv2f3::TDelaySettings& delays);

// The same in a line opening of their own.
// Session start (the identification), then the six delay settings.
TCommandResult Zi2z3ReadSettings(QString& ident, qv2f3::TDelaySettings& delays);
TCommandResult Zi2z3WriteSettings(const qv2f3::TDelaySettings& delays);

// The background watch: the port stays open with background reception on,
// so the packets the bench sends reach the log window's receive handler.
// Fails when the port did not open; reception is then left alone.
TCommandResult Zi2z3StartWatch();
// Background reception off (when the port is open) and the port closed.
void Zi2z3StopWatch();
// One bench command on the port the watch holds; no reply is awaited, the
// bench answers with packets. Fails when the frame could not leave.
TCommandResult Zi2z3SendBenchCommand(std::uint8_t code);

// What the last commands left known of the bench: the identification it
// gave, the six delays last read or written, the place fields the packets
// of the last run filled (by field name; a status box as "1" or "0"), and the last command's
// result. The archive records from it.
struct TZi2z3Known {
    QString ident;
    qv2f3::TDelaySettings delays{};
    std::vector<qv2f3::TFieldText> fields;
    TCommandResult result;
};
const TZi2z3Known& Zi2z3LastKnown();

using TBenchPacketSink = std::function<void(const qv2f3::TBenchDecoded&)>;
// A packet as far as it came (bytes[0] its type letter): decoded, handed to
// show, then its line logged in green. A byte that starts no packet is
// neither shown nor logged.
qv2f3::TBenchDecoded Zi2z3TakePacket(const std::uint8_t* bytes, std::size_t count,
                                     const TBenchPacketSink& show = {});

// For a run without windows: sends one bench command in a port opening of
// its own, then reads the line itself for watchMs: each packet, once whole,
// is taken as above and handed to onPacket after its line is logged; a
// packet still cut off when the time is up is handed over as far as it came
// (it fails its checksum). A byte that starts no packet is logged in red and
// dropped. A watch that took no packet whole with a sound sum, or whose line
// dropped, fails (no reply).
TCommandResult Zi2z3Bench(std::uint8_t code, int watchMs, const TBenchPacketSink& onPacket);
