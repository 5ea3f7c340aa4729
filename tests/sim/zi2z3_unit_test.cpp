#include "qv1_frame.h"
#include "sim_test_util.h"
#include "zi2z3_unit.h"

#include "devices/qv1/session_code.h"
#include "exchange/frame.h"

#include <gtest/gtest.h>

using sim::Bytes;
using sim::Qv1Request;
using sim::Zi2z3Unit;
using simtest::Ask;
using simtest::AskPieces;

namespace {

bool SumOk(const Bytes& packet) {
    return packet.size() >= 2 && Sum8(packet.data(), packet.size() - 1) == packet.back();
}

} // namespace

TEST(Zi2z3Unit, SessionAndDelaySettings) {
    Zi2z3Unit unit;
    const Bytes code(kQv1SessionCode.begin(), kQv1SessionCode.end());
    const Bytes session = Ask(unit, Qv1Request('s', code));
    ASSERT_EQ(session.size(), 8u);
    EXPECT_EQ(session[1], 0);
    EXPECT_EQ(Bytes(session.begin() + 2, session.begin() + 7),
              (Bytes{0x87, 0x88, '2', 0x87, '3'})); // ЗИ2З3 in code page 866
    EXPECT_TRUE(Ask(unit, Qv1Request('s', {1, 2, 3, 4, 5})).empty());

    EXPECT_EQ(Ask(unit, Qv1Request('R')), (Bytes{9, 0, 5, 3, 60, 5, 3, 60, '>'}));
    const Bytes write{0x09, 0x57, 44, 1, 2, 3, 4, 5, 0x3C};
    EXPECT_EQ(Ask(unit, write), (Bytes{3, 0, '>'}));
    EXPECT_EQ(Ask(unit, Qv1Request('R')), (Bytes{9, 0, 44, 1, 2, 3, 4, 5, '>'}));

    unit.faults().add({sim::FaultKind::Refuse, -1, 1});
    EXPECT_EQ(Ask(unit, Qv1Request('W', {9, 9, 9, 9, 9, 9})), (Bytes{3, 5, '>'}));
    EXPECT_EQ(unit.delays()[0], 44);
}

TEST(Zi2z3Unit, StatusAndReadingsPackets) {
    Zi2z3Unit unit;
    EXPECT_EQ(Zi2z3Unit::BenchCommand(0x80), (Bytes{0x43, 0x80, 0xC3}));
    EXPECT_EQ(Zi2z3Unit::BenchCommand(0x06), (Bytes{0x43, 0x06, 0x49}));
    EXPECT_EQ(Ask(unit, Zi2z3Unit::BenchCommand(0x00)), (Bytes{0x53, 0x00, 0x00, 0x53}));
    unit.place(0).board = false;
    unit.place(1).answers = false;
    EXPECT_EQ(Ask(unit, Zi2z3Unit::BenchCommand(0x00)), (Bytes{0x53, 0x01, 0x10, 0x64}));

    unit.place(0) = sim::BenchPlace{};
    unit.place(1) = sim::BenchPlace{};
    unit.place(1).idle = {12, 50};
    EXPECT_EQ(Ask(unit, Zi2z3Unit::BenchCommand(0x01)),
              (Bytes{0x75, 0x05, 0x07, 0x0C, 0x32, 0xBF}));
    const Bytes working = Ask(unit, Zi2z3Unit::BenchCommand(0x02));
    const Bytes supply = Ask(unit, Zi2z3Unit::BenchCommand(0x03));
    const Bytes current = Ask(unit, Zi2z3Unit::BenchCommand(0x04));
    for (const Bytes* p : {&working, &supply, &current}) {
        ASSERT_EQ(p->size(), 6u);
        EXPECT_TRUE(SumOk(*p));
    }
    EXPECT_EQ(working[0], 'U');
    EXPECT_EQ(working[1], 4);
    EXPECT_EQ(working[2], 92);
    EXPECT_EQ(supply[0], 'U');
    EXPECT_EQ(supply[1], 12);
    EXPECT_EQ(current[0], 'I');
    EXPECT_EQ(current[1], 42);

    unit.place(1).board = false;
    const Bytes unloaded = Ask(unit, Zi2z3Unit::BenchCommand(0x02));
    EXPECT_EQ(unloaded[3], 0) << "an empty place draws nothing";
    EXPECT_EQ(unloaded[4], 0);
}

TEST(Zi2z3Unit, PresetTimesAndMeasuredTimesOfATestRun) {
    Zi2z3Unit unit;
    unit.place(1).board = false;
    const Bytes preset = Ask(unit, Zi2z3Unit::BenchCommand(0x05));
    ASSERT_EQ(preset.size(), 14u);
    EXPECT_EQ(preset[0], 't');
    EXPECT_EQ(Bytes(preset.begin() + 1, preset.begin() + 7), (Bytes{5, 3, 60, 5, 3, 60}));
    EXPECT_EQ(Bytes(preset.begin() + 7, preset.begin() + 13), Bytes(6, 0xFF));
    EXPECT_TRUE(SumOk(preset));

    auto before = AskPieces(unit, Zi2z3Unit::BenchCommand(0x06));
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0].bytes.size(), 15u);
    EXPECT_EQ(before[0].bytes[1], '1');
    EXPECT_EQ(before[1].bytes[1], '2');
    EXPECT_EQ(before[1].delayMs, Zi2z3Unit::kPacketGapMs) << "packets come one at a time";
    EXPECT_EQ(sim::WordAt(before[0].bytes, 2), 0) << "nothing measured before a test run";

    unit.setTestDurationMs(250);
    const auto run = AskPieces(unit, Zi2z3Unit::BenchCommand(0x80));
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(run[0].bytes, (Bytes{0x53, 0x00, 0x01, 0x54}));
    EXPECT_EQ(run[1].delayMs, 250);
    ASSERT_EQ(run[1].bytes.size(), 15u);
    EXPECT_EQ(run[1].bytes[0], 'T');
    EXPECT_TRUE(SumOk(run[1].bytes));
    EXPECT_EQ(sim::WordAt(run[1].bytes, 2), 503) << "Ton11: 5 s preset, measured 5.03 s";
    EXPECT_EQ(sim::WordAt(run[1].bytes, 6), 5996) << "Tauto11: 60 s preset, measured 59.96 s";
    EXPECT_EQ(sim::WordAt(run[2].bytes, 2), 0) << "the empty place measured nothing";
    EXPECT_EQ(unit.testsRun(), 1);
}

TEST(Zi2z3Unit, BadOrUnknownBenchCommandsAreIgnored) {
    Zi2z3Unit unit;
    EXPECT_TRUE(Ask(unit, Bytes{0x43, 0x00, 0x44}).empty());
    EXPECT_TRUE(Ask(unit, Zi2z3Unit::BenchCommand(0x07)).empty());
    EXPECT_EQ(Ask(unit, Zi2z3Unit::BenchCommand(0x00)).size(), 4u);
}

// A request arrives byte by byte, as the program paces it. Bytes 2..4 of
// this write (03 03 3C) form a sound frame of no command: the write is not
// to be dropped for it, nor is a stray byte ahead of a real frame kept.
TEST(Zi2z3Unit, AWriteArrivingByteByByteIsTakenWhole) {
    Zi2z3Unit unit;
    const Bytes write{0x09, 0x57, 3, 3, 60, 5, 3, 60, 0x3C};
    Bytes replies;
    std::uint32_t now = 0;
    for (std::uint8_t b : write)
        for (const auto& piece : unit.feed(&b, 1, now += 4))
            replies.insert(replies.end(), piece.bytes.begin(), piece.bytes.end());
    EXPECT_EQ(replies, (Bytes{3, 0, '>'}));
    EXPECT_EQ(unit.delays()[0], 3);

    Bytes stray{0x09};
    const Bytes read = Qv1Request('R');
    stray.insert(stray.end(), read.begin(), read.end());
    EXPECT_EQ(Ask(unit, stray), (Bytes{9, 0, 3, 3, 60, 5, 3, 60, '>'}));
}
