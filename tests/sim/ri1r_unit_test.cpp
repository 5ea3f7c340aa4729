#include "qv1_frame.h"
#include "ri1r_unit.h"
#include "sim_test_util.h"

#include "devices/qv1/session_code.h"

#include <gtest/gtest.h>

using sim::Bytes;
using sim::Qv1Request;
using sim::Ri1rUnit;
using simtest::Ask;

namespace {

const Bytes kSession(kQv1SessionCode.begin(), kQv1SessionCode.end());

Bytes Start(Ri1rUnit& unit) {
    return Ask(unit, Qv1Request('s', kSession));
}

// Result code of a write command; -1 when the reply is not the 3-byte kind.
int Result(Ri1rUnit& unit, const Bytes& request) {
    const Bytes reply = Ask(unit, request);
    if (reply.size() != 3 || reply[0] != 3 || reply[2] != '>')
        return -1;
    return reply[1];
}

Bytes ModeWrite(int index, const sim::Ri1rMode& mode) {
    return Qv1Request(static_cast<std::uint8_t>('1' + index), Ri1rUnit::EncodeMode(mode));
}

} // namespace

TEST(Ri1rUnit, SessionStartGivesIdentificationDateAndMode) {
    Ri1rUnit unit;
    EXPECT_TRUE(Ask(unit, Qv1Request('o', {'1'})).empty())
        << "nothing is answered before a session";
    EXPECT_TRUE(Ask(unit, Qv1Request('s', {0x52, 0x34, 0x43, 0x46, 0x00})).empty());
    EXPECT_FALSE(unit.inSession());

    Bytes reply = Start(unit);
    ASSERT_EQ(reply.size(), 34u);
    EXPECT_EQ(reply[0], 34);
    EXPECT_EQ(reply[33], '>');
    EXPECT_EQ(reply[1], 0x90) << "Р in code page 866";
    EXPECT_EQ(reply[2], 0x88) << "И in code page 866";
    EXPECT_EQ(std::string(reply.begin() + 22, reply.begin() + 30), "00.00.00");
    EXPECT_EQ(reply[32], '1');
    EXPECT_TRUE(unit.inSession());

    Ri1rUnit dated;
    ASSERT_TRUE(dated.setReleaseDate(QStringLiteral("15.03.24")));
    dated.setCurrentMode(2);
    reply = Start(dated);
    EXPECT_EQ(std::string(reply.begin() + 22, reply.begin() + 30), "15.03.24");
    EXPECT_EQ(reply[32], '3');
    EXPECT_FALSE(dated.setReleaseDate(QStringLiteral("32.01.24")));
}

TEST(Ri1rUnit, ModesAndCommonSettingsReadInTheirLayouts) {
    Ri1rUnit unit;
    Start(unit);
    const Bytes mode1 = Ask(unit, Qv1Request('o', {'1'}));
    ASSERT_EQ(mode1.size(), 23u);
    EXPECT_EQ(mode1[22], '>');
    // Channel 1 of mode 1: Ton 0, T6sec 0, Toff 5, flag 0x04; channel 2 begins with Ton 2.
    EXPECT_EQ(Bytes(mode1.begin() + 1, mode1.begin() + 10), (Bytes{0, 0, 0, 0, 5, 0, 0x04, 2, 0}));
    for (int n = 0; n < Ri1rUnit::kModes; ++n) {
        const Bytes reply = Ask(unit, Qv1Request('o', {static_cast<std::uint8_t>('1' + n)}));
        ASSERT_EQ(reply.size(), 23u);
        EXPECT_EQ(Ri1rUnit::DecodeMode(reply, 1), unit.modes()[static_cast<std::size_t>(n)]);
        EXPECT_EQ(Ri1rUnit::CheckMode(n, unit.modes()[static_cast<std::size_t>(n)]), 0)
            << "factory mode " << n + 1 << " is one the unit accepts";
    }
    EXPECT_TRUE(Ask(unit, Qv1Request('o', {'8'})).empty());

    const Bytes delays = Ask(unit, Qv1Request('p'));
    EXPECT_EQ(delays, (Bytes{8, 5, 0, 5, 0, 5, 0, '>'}));
    const Bytes volts = Ask(unit, Qv1Request('r'));
    EXPECT_EQ(volts, (Bytes{9, 0x00, 0x25, 0x01, 0x90, 0x01, 0x6E, 0x03, '>'}));
}

TEST(Ri1rUnit, ModeWriteIsCheckedOnTheChannelsTheModeDrives) {
    Ri1rUnit unit;
    Start(unit);
    sim::Ri1rMode mode{{{120, 30, 40, 0x03}, {0, 8, 0, 0x02}, {0, 0, 9, 0x0C}}};
    const Bytes frame = ModeWrite(6, mode);
    ASSERT_EQ(frame.size(), 24u);
    EXPECT_EQ(frame[0], 0x18);
    EXPECT_EQ(frame[1], 0x37);
    EXPECT_EQ(frame.back(), 0x3C);
    EXPECT_EQ(Result(unit, frame), 0);
    EXPECT_EQ(Ri1rUnit::DecodeMode(Ask(unit, Qv1Request('o', {'7'})), 1), mode);

    sim::Ri1rMode bad = mode;
    bad[1] = {0, 6, 0, 0x02}; // holding by time needs T6sec above 6
    EXPECT_EQ(Result(unit, ModeWrite(0, bad)), 2);
    bad[1] = {0, 3, 0, 0x01}; // alternating needs a Toff
    EXPECT_EQ(Result(unit, ModeWrite(0, bad)), 2);
    EXPECT_EQ(Result(unit, ModeWrite(1, bad)), 0) << "mode 2 drives channel 1 only";
    bad[0] = {10, 30, 40, 0x03}; // alternating by time: Ton above T6sec
    EXPECT_EQ(Result(unit, ModeWrite(2, bad)), 1);
    bad[0] = {0, 0, 0, 0x10}; // bits 4..7 are no flags
    EXPECT_EQ(Result(unit, ModeWrite(1, bad)), 1);
    EXPECT_EQ(unit.modes()[0], Ri1rUnit().modes()[0]) << "refused writes store nothing";
}

TEST(Ri1rUnit, CommonSettingsAreSavedByTAndDateAndReloadedByRestart) {
    Ri1rUnit unit;
    Start(unit);
    const Bytes timeErr{0x09, 0x69, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x3C};
    EXPECT_EQ(Qv1Request('i', {10, 0, 20, 0, 30, 0}), timeErr);
    EXPECT_EQ(Result(unit, timeErr), 0);
    EXPECT_EQ(Ask(unit, Qv1Request('p')), (Bytes{8, 10, 0, 20, 0, 30, 0, '>'}));
    EXPECT_EQ(Result(unit, Qv1Request('i', {10, 1, 20, 0, 30, 0})), 1);

    EXPECT_EQ(Result(unit, Qv1Request('0', {0x03, 0x10, 0x00, 0x20, 0x00, 0x30, 0x00})), 0);
    EXPECT_EQ(unit.common().lvlUd, 0x20);
    EXPECT_EQ(Result(unit, Qv1Request('0', {0x00, 0x20, 0x00, 0x20, 0x00, 0x30, 0x00})), 1)
        << "Umin must lie below Uсраб.";
    EXPECT_EQ(Result(unit, Qv1Request('0', {0x04, 0x10, 0x00, 0x20, 0x00, 0x30, 0x00})), 1);

    EXPECT_EQ(Result(unit, Qv1Request('q', {0x01})), 0);
    EXPECT_EQ(unit.common().timeErr[0], 5) << "a restart drops what was not saved";
    EXPECT_EQ(unit.restarts(), 1);
    EXPECT_TRUE(Ask(unit, Qv1Request('p')).empty()) << "the restart ended the session";

    Start(unit);
    EXPECT_EQ(Result(unit, timeErr), 0);
    EXPECT_EQ(Result(unit, Qv1Request('t')), 0);
    EXPECT_EQ(Result(unit, Qv1Request('q', {0x01})), 0);
    EXPECT_EQ(unit.savedCommon().timeErr[2], 30);
    EXPECT_EQ(unit.common().timeErr[2], 30);
}

TEST(Ri1rUnit, ReleaseDateIsWrittenOnceAndModeSwitchAndEndOfSession) {
    Ri1rUnit unit;
    Start(unit);
    const Bytes date{0x06, 0x64, 0x08, 0x12, 0x25, 0x3C};
    EXPECT_EQ(Result(unit, Qv1Request('d', {0x32, 0x12, 0x25})), 1) << "day 32";
    EXPECT_EQ(Result(unit, date), 0);
    EXPECT_EQ(unit.releaseDate(), QStringLiteral("08.12.25"));
    EXPECT_EQ(Result(unit, Qv1Request('d', {0x09, 0x12, 0x25})), sim::ri1r_result::kDateSet);
    EXPECT_EQ(unit.releaseDate(), QStringLiteral("08.12.25"));

    EXPECT_EQ(Result(unit, Qv1Request('u', {'3'})), 0);
    EXPECT_EQ(unit.currentMode(), 2);
    EXPECT_EQ(Result(unit, Qv1Request('u', {'8'})), 1);
    EXPECT_EQ(Start(unit)[32], '3');

    EXPECT_EQ(Result(unit, Qv1Request('q', {0x02})), 1);
    EXPECT_EQ(Result(unit, Qv1Request('q', {0x00})), 0);
    EXPECT_FALSE(unit.inSession());
    EXPECT_EQ(unit.restarts(), 0);
    EXPECT_EQ(Result(unit, Qv1Request('t')), -1) << "silent outside a session";
}

TEST(Ri1rUnit, RefuseFaultAnswersEveryWriteWithItsCode) {
    Ri1rUnit unit;
    Start(unit);
    unit.faults().add({sim::FaultKind::Refuse, -1, 2});
    EXPECT_EQ(Result(unit, ModeWrite(0, unit.modes()[0])), sim::ri1r_result::kRefused);
    EXPECT_EQ(Result(unit, Qv1Request('t')), sim::ri1r_result::kRefused);
    EXPECT_EQ(Result(unit, Qv1Request('t')), 0);

    // "keep" answers "accepted" and keeps the mode as it was.
    auto changed = unit.modes()[0];
    changed[0].ton += 1;
    unit.faults().add({sim::FaultKind::Keep, -1, 1});
    EXPECT_EQ(Result(unit, ModeWrite(0, changed)), 0);
    EXPECT_NE(unit.modes()[0][0].ton, changed[0].ton);
    EXPECT_EQ(Result(unit, ModeWrite(0, changed)), 0);
    EXPECT_EQ(unit.modes()[0][0].ton, changed[0].ton);
}
