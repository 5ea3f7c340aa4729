// The codes the voltage entries were last shown from, by a read or a load.
// Volts with two decimals do not always lead back to the code they came from
// (code 883 on a 3.30 V reference shows as 2.85 V, and 2.85 V is code 884), so
// an entry still showing what it was given writes its own code back; only an
// entry the technician changed is converted from its volts.
#pragma once

#include "devices/qv4m/param_codec.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

using TVoltEntry = QString TQv4mParams::*;

class TShownCodes {
public:
    void clear() { shown_.clear(); }
    // entry now shows text, made from code.
    void note(TVoltEntry entry, const QString& text, std::uint16_t code);
    // The code entry was shown from, while p still shows that text there and,
    // for a threshold, in the reference voltage too: a threshold's volts are
    // taken against the reference, so a changed reference changes its code.
    std::optional<std::uint16_t> kept(const TQv4mParams& p, TVoltEntry entry) const;

private:
    struct TShown {
        TVoltEntry entry;
        QString text;
        std::uint16_t code;
    };
    const TShown* find(TVoltEntry entry) const;
    bool stillShown(const TQv4mParams& p, TVoltEntry entry) const;

    std::vector<TShown> shown_;
};

// Puts voltages into the page values against a shown reference voltage,
// noting (when shown is given) the code each came from.
class TVoltShower {
public:
    TVoltShower(TQv4mParams& p, double vrefShown, TShownCodes* shown)
        : p_(p), vrefShown_(vrefShown), shown_(shown) {}

    // The reference voltage itself, from the reference code.
    void reference(std::uint16_t code) const;
    // An ADC code as volts.
    void volts(TVoltEntry entry, std::uint16_t code) const;

private:
    void show(TVoltEntry entry, const QString& text, std::uint16_t code) const;

    TQv4mParams& p_;
    double vrefShown_;
    TShownCodes* shown_;
};
