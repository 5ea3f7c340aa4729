// The bench's configuration as an archive record keeps it: the bench has no
// file of its own, so it is "name = value" lines, the six delays, then the
// place fields. Apart from the services, so a damaged record can be read alone.
#pragma once

#include "devices/qv2f3/bench_frames.h"
#include "devices/qv2f3/bench_packet.h"

#include <QByteArray>
#include <vector>

// The delay names in the bench's order.
inline constexpr const char* kBenchDelayNames[] = {"T11", "T12", "T13", "T21", "T22", "T23"};

struct TBenchConfig {
    qv2f3::TDelaySettings delays{};
    // The place fields as the page shows them (presets, measured times,
    // voltages, currents; status boxes as "1" or "0").
    std::vector<qv2f3::TFieldText> fields;
};
QByteArray BenchConfigBytes(const TBenchConfig& config);
// False when the text is not such lines or a delay is missing or out of 0..255.
bool ParseBenchConfig(const QByteArray& bytes, TBenchConfig& config);
