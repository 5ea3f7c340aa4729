// Comparing what a RO-4D unit holds with a configuration file, with the page
// or with what was just written: word by word as the unit keeps them, each
// difference named by its caption on the pages, values in volts, seconds and
// mode names.
#pragma once

#include "devices/compare/compare_result.h"
#include "devices/qv4m/qv4m_registers.h"
#include "devices/qv4m/ro4d_protocol.h"

#include <QString>
#include <array>
#include <cstdint>

inline constexpr int kRo4dRegisterCount = kRo4dPageCount * kRo4dPageWords;
// Register of mode word 0; parameter word n is register n.
inline constexpr int kRo4dModeRegister = 32;

// What a read of the unit brought back, before anything is shown: the
// version and the registers of the pages read, in order, up to a failure.
struct TRo4dUnitImage {
    bool versionRead = false;
    QString version;
    std::uint8_t bVers = 0x10;
    std::array<std::uint16_t, kRo4dRegisterCount> registers{};
    int pagesRead = 0;

    bool complete() const { return versionRead && pagesRead == kRo4dPageCount; }
    // Whether register r came back from the unit.
    bool knows(int r) const { return versionRead && r / kRo4dPageWords < pagesRead; }
    // The registers in the layout of the images (parameter words, then mode words).
    TRo4dImage image() const;
};

// Words the unit keeps in a byte (the read takes their low byte only):
// compared, and shown, as the unit keeps them.
bool Ro4dKeptAsByte(int paramWord);

// The unit (left) against another image (right), named rightName. The board
// generation of the unit's version gives the voltage scale and which test
// line thresholds count. A read that stopped part-way compares what it
// brought and says the compare is incomplete.
TCompareResult CompareRo4d(const TRo4dUnitImage& unit, const TRo4dImage& other,
                           const QString& rightName);

// Side names for the three compares.
QString Ro4dFileSide();
QString Ro4dPageSide();
QString Ro4dWrittenSide();

// Part of CompareRo4d: the condition matrix and main-mode words, decoded on
// both sides as a read or a load would restore the mode editor.
void CompareRo4dMatrix(const TRo4dImage& left, const TRo4dImage& right, TCompareResult& result);
// The mode editor as a read or a load of the image restores it.
struct TModeEditor;
TModeEditor RestoredModeEditor(const TRo4dImage& image);
