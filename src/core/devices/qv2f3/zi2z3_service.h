// The ZI2-Z3 bench commands on channel 0 as single calls, with a result that
// names what failed: the session with the six delay settings, their write,
// and a bench command with the packets the bench sends back, decoded.
#pragma once

#include "devices/qv2f3/bench_frames.h"
#include "devices/qv2f3/bench_packet.h"
#include "engine/command_result.h"

#include <functional>

// Session start (the identification), then the six delay settings.
TCommandResult Zi2z3ReadSettings(QString& ident, qv2f3::TDelaySettings& delays);
// The six delay settings written in one frame; the unit must accept them.
TCommandResult Zi2z3WriteSettings(const qv2f3::TDelaySettings& delays);

using TBenchPacketSink = std::function<void(const qv2f3::TBenchDecoded&)>;
// Sends one bench command (no reply is awaited), then watches the line for
// watchMs: each packet, once whole, is decoded, logged in green and handed to
// onPacket; a packet still cut off when the time is up is handed over as far
// as it came (it fails its checksum). A byte that starts no packet is logged
// in red and dropped.
TCommandResult Zi2z3Bench(std::uint8_t code, int watchMs, const TBenchPacketSink& onPacket);
