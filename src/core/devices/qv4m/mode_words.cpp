// Packing the condition matrix into the mode words and restoring it.
#include "devices/qv4m/mode_editor.h"

namespace {

namespace flag {
constexpr std::uint16_t Twait = 0x0001;
constexpr std::uint16_t StopByTmin6 = 0x0002;
constexpr std::uint16_t Tend = 0x0004;
constexpr std::uint16_t T240 = 0x0008;
constexpr std::uint16_t CInStop = 0x0010;
constexpr std::uint16_t CIsC3 = 0x0020;
constexpr std::uint16_t DopIf = 0x0040;
constexpr std::uint16_t DopToggle = 0x0080;
constexpr std::uint16_t MainInStop = 0x0100;
constexpr std::uint16_t SetInStop = 0x0200;
constexpr std::uint16_t CToggleOff = 0x0400;
} // namespace flag

bool isMainItem(int index) {
    return index >= 0 && index < kMainSignals;
}

struct TMainPack {
    std::uint16_t v = 0, s = 0;
};

// A main condition: its bit, its toggle's bit, and its part in Stop.
TMainPack packMain(const TChannelControls& ch, int item, bool& mainInStop,
                   std::array<bool, kMainSignals>& stopSet,
                   std::array<bool, kMainSignals>& isMain) {
    if (!isMainItem(item))
        return {};
    const std::uint16_t bit = kMatrixBits[item];
    const TMainPack pack{bit, ch.toggle[item].checked ? bit : std::uint16_t{0}};
    if (ch.stop[item].checked) {
        mainInStop = true;
        stopSet[item] = false;
    }
    isMain[item] = true;
    return pack;
}

void unpackFlags(std::uint16_t w, TChannelControls& ch) {
    ch.activateTwait.checked = w & flag::Twait;
    ch.stopVariant.index = (w & flag::StopByTmin6) ? kStopByTmin6 : kStopBySet;
    ch.activateTend.checked = w & flag::Tend;
    ch.activateT240.checked = w & flag::T240;
    if (w & flag::CInStop)
        ch.stop[(w & flag::CIsC3) ? msC3 : msC1].checked = true;
}

// A main condition comes back from a signal that is no other start condition.
void unpackMain(std::uint16_t mainWord, const TChannelWords& w, TChoice& combo,
                TChannelControls& ch) {
    for (int s = 0; s < kMainSignals; ++s) {
        const std::uint16_t bit = kMatrixBits[s];
        if ((mainWord & bit) && !(w.V3 & bit) && !(w.V4 & bit)) {
            combo.index = s;
            ch.start[s].checked = true;
            ch.stop[s].checked = w.flagWork & flag::MainInStop;
        }
    }
}

void unpackMatrix(const TChannelWords& w, TChannelControls& ch) {
    for (int s = 0; s < kMainSignals; ++s) {
        ch.stop[s].checked = w.V5 & kMatrixBits[s];
        ch.start[s].checked = w.V4 & kMatrixBits[s];
    }
    ch.start[msC1].checked = w.V3 & kMatrixBits[msC1];
    ch.start[msC3].checked = w.V3 & kMatrixBits[msC3];
    unpackMain(w.V2, w, ch.main2, ch);
    unpackMain(w.V1, w, ch.main1, ch);
    for (int s = 0; s < kMainSignals; ++s)
        if (w.S3 & kMatrixBits[s])
            ch.toggle[s].checked = true;
    for (int s : {msC1, msC3})
        if (w.S4 & kMatrixBits[s])
            ch.toggle[s].checked = true;
    if ((w.S5 & w.V1) && isMainItem(ch.main1.index))
        ch.toggle[ch.main1.index].checked = true;
    if ((w.S6 & w.V2) && isMainItem(ch.main2.index))
        ch.toggle[ch.main2.index].checked = true;
}

void clearChannel(TChannelControls& ch) {
    for (int s = 0; s < kMatrixRows; ++s) {
        ch.toggle[s].checked = false;
        ch.start[s].checked = false;
        ch.stop[s].checked = false;
    }
    ch.activateTwait.checked = false;
    ch.dopIf.checked = false;
    ch.activateTend.checked = false;
    ch.activateT240.checked = false;
    ch.dopToggle.checked = false;
}

} // namespace

std::array<std::uint16_t, kModeFieldCount> TModeWords::toArray() const {
    return {a.flagWork, b.flagWork, a.V1, a.V2, a.V3, a.V4, a.V5, a.S3, a.S4, a.S5,
            a.S6,       b.V1,       b.V2, b.V3, b.V4, b.V5, b.S3, b.S4, b.S5, b.S6};
}

TModeWords TModeWords::fromArray(const std::array<std::uint16_t, kModeFieldCount>& w) {
    TModeWords m;
    m.a = {w[0], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9], w[10]};
    m.b = {w[1], w[11], w[12], w[13], w[14], w[15], w[16], w[17], w[18], w[19]};
    return m;
}

TChannelWords PackChannel(const TChannelControls& ch) {
    TChannelWords w;
    std::array<bool, kMainSignals> stopSet{};
    std::array<bool, kMainSignals> isMain{};
    for (int s = 0; s < kMainSignals; ++s)
        stopSet[s] = ch.stop[s].checked;

    bool mainInStop = false;
    const TMainPack first = packMain(ch, ch.main1.index, mainInStop, stopSet, isMain);
    const TMainPack second = packMain(ch, ch.main2.index, mainInStop, stopSet, isMain);
    w.V1 = first.v;
    w.S5 = first.s;
    w.V2 = second.v;
    w.S6 = second.s;

    bool anyInSet = false;
    for (int s = 0; s < kMainSignals; ++s) {
        if (stopSet[s]) {
            anyInSet = true;
            w.V5 |= kMatrixBits[s];
            if (ch.toggle[s].checked)
                w.S3 |= kMatrixBits[s];
        }
        if (ch.start[s].checked && !isMain[s])
            w.V4 |= kMatrixBits[s];
    }
    if (mainInStop)
        w.flagWork |= flag::MainInStop;
    if (anyInSet)
        w.flagWork |= flag::SetInStop;

    for (int s : {msC1, msC3}) {
        if (ch.start[s].checked)
            w.V3 |= kMatrixBits[s];
        if (ch.toggle[s].checked)
            w.S4 |= kMatrixBits[s];
    }

    if (ch.activateTwait.checked)
        w.flagWork |= flag::Twait;
    if (ch.stopVariant.index == kStopByTmin6)
        w.flagWork |= flag::StopByTmin6;
    if (ch.activateTend.checked)
        w.flagWork |= flag::Tend;
    if (ch.activateT240.checked)
        w.flagWork |= flag::T240;
    const bool c1Stop = ch.stop[msC1].checked;
    const bool c3Stop = ch.stop[msC3].checked;
    if (c1Stop || c3Stop) {
        w.flagWork |= flag::CInStop;
        if (c3Stop)
            w.flagWork |= flag::CIsC3;
        if ((c1Stop && !ch.toggle[msC1].checked) || (c3Stop && !ch.toggle[msC3].checked))
            w.flagWork |= flag::CToggleOff;
    }
    if (ch.dopIf.checked)
        w.flagWork |= flag::DopIf;
    if (ch.dopToggle.checked)
        w.flagWork |= flag::DopToggle;
    return w;
}

TModeWords PackModeWords(const TModeEditor& ed) {
    return {PackChannel(ed.m1), PackChannel(ed.m2)};
}

void UnpackModeWords(const TModeWords& words, TModeEditor& ed) {
    clearChannel(ed.m1);
    clearChannel(ed.m2);
    unpackFlags(words.a.flagWork, ed.m1);
    unpackFlags(words.b.flagWork, ed.m2);
    ed.m1.dopIf.checked = words.a.flagWork & flag::DopIf;
    ed.m1.dopToggle.checked = words.a.flagWork & flag::DopToggle;
    ed.m2.dopIf.checked = words.b.flagWork & flag::DopIf;
    ed.m2.dopToggle.checked = words.b.flagWork & flag::DopToggle;
    unpackMatrix(words.a, ed.m1);
    unpackMatrix(words.b, ed.m2);
}
