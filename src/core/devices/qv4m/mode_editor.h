// The M1/M2 mode editor as plain data: the state of every control of the
// condition matrix, the rules that keep it consistent, and its packing into
// the 20 mode words and back. The page only moves values between its widgets
// and these structures.
#pragma once

#include "devices/qv4m/qv4m_registers.h"

#include <QString>
#include <array>
#include <cstdint>

// Rows of the matrix, top to bottom; the first four are also the items of the
// main-condition combos.
enum TMatrixSignal : int { msK1 = 0, msOp = 1, msK3 = 2, msZp = 3, msC1 = 4, msC3 = 5 };
inline constexpr int kMatrixRows = 6;
inline constexpr int kMainSignals = 4;
inline constexpr std::array<std::uint16_t, kMatrixRows> kMatrixBits{0x0001, 0x1000, 0x0004,
                                                                    0x2000, 0x0010, 0x0040};

// Items of the AND/OR radio groups and of the Stop variant.
inline constexpr int kOrAndSingle = 0; // "-"
inline constexpr int kOrAndAnd = 1;    // "И"
inline constexpr int kOrAndOr = 2;     // "ИЛИ"
inline constexpr int kStopByTmin6 = 0; // "Режим T_min6"
inline constexpr int kStopBySet = 1;   // "Набор условий"

// Items of the main mode combo.
inline constexpr int kModeM2Unused = 0;
inline constexpr int kModeIndependent = 1;
inline constexpr int kModeM2AfterM1 = 2;

struct TBox {
    bool checked = false;
    bool enabled = true;
};

struct TChoice {
    int index = 0; // -1: nothing selected
    bool enabled = true;
};

// One channel's group. A toggle that is checked stands On.
struct TChannelControls {
    std::array<TBox, kMatrixRows> start{}, toggle{}, stop{};
    TChoice main1, main2, orAnd, stopVariant;
    TBox activateTwait, dopIf, dopToggle, activateTend, activateT240;
    bool tmin6EditEnabled = true;
};

struct TModeEditor {
    TChannelControls m1, m2;
    int mainMode = kModeIndependent; // -1: nothing selected
    QString m2Caption;
};

// A channel's mode words: the flag word and the nine condition words.
struct TChannelWords {
    std::uint16_t flagWork = 0;
    std::uint16_t V1 = 0, V2 = 0, V3 = 0, V4 = 0, V5 = 0;
    std::uint16_t S3 = 0, S4 = 0, S5 = 0, S6 = 0;
    bool operator==(const TChannelWords&) const = default;
};

struct TModeWords {
    TChannelWords a, b; // M1, M2
    bool operator==(const TModeWords&) const = default;

    // In register order: wFlagWork_M1, wFlagWork_M2, then V1..V5, S3..S6 of M1, then of M2.
    std::array<std::uint16_t, kModeFieldCount> toArray() const;
    static TModeWords fromArray(const std::array<std::uint16_t, kModeFieldCount>& words);
};

// Captions the rules give the M2 group.
QString M2InactiveCaption();
QString M2ActiveCaption();

// Packing and restoring.
TChannelWords PackChannel(const TChannelControls& ch);
TModeWords PackModeWords(const TModeEditor& ed);
void UnpackModeWords(const TModeWords& words, TModeEditor& ed);

// The editor's rules.
void ApplyMainMode(TModeEditor& ed);
void MirrorStartChecks(TModeEditor& ed);
void MirrorToggles(TModeEditor& ed);
void EnableM2Controls(TModeEditor& ed, bool enabled, bool tmin6EditEnabled);

// Restores the editor after a read or a load: both AND/OR groups on "ИЛИ",
// unpack, the main-mode rules, then each AND/OR group from its bit of
// wFlag_Mode_1 (5 for M1, 6 for M2) or from whether its two combos agree.
void RestoreModeEditor(const TModeWords& words, std::uint16_t flagMode1, TModeEditor& ed);
