#include "ro4d_unit.h"
#include "sim_test_util.h"

#include "exchange/frame.h"

#include <gtest/gtest.h>

using sim::Bytes;
using sim::Ro4dUnit;
using simtest::Ask;

namespace {

bool CrcOk(const Bytes& reply) {
    if (reply.size() < 3)
        return false;
    const std::uint16_t crc = Crc16(reply.data(), reply.size() - 2);
    return reply[reply.size() - 2] == (crc >> 8) && reply.back() == (crc & 0xFF);
}

std::uint16_t Word(const Bytes& reply, int k) {
    return sim::WordAt(reply, 4 + 2 * k);
}

// The seven write frames as the program builds them from its register
// images: parameter words one register up behind a leading zero word, mode
// words from register 32 on.
std::vector<Bytes> WriteFrames(const std::array<std::uint16_t, 33>& p,
                               const std::array<std::uint16_t, 33>& m) {
    const std::vector<std::pair<std::uint8_t, std::vector<std::uint16_t>>> plan = {
        {0x00, {0, p[0], p[1], p[2], p[3], p[4], p[5], p[6]}},
        {0x08, {p[7], p[8], p[9], p[10], p[11], p[12], p[13], p[14]}},
        {0x10, {p[15], p[16], p[17], p[18], p[19], p[20], p[21], p[22]}},
        {0x18, {p[23], p[24], 0, 0, 0, 0, 0, 0}},
        {0x20, {m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7]}},
        {0x28, {m[8], m[9], m[10], m[11], m[12], m[13], m[14], m[15]}},
        {0x30, {m[16], m[17], m[18], m[19], 0, 0, 0, 0}},
    };
    std::vector<Bytes> frames;
    for (const auto& [start, words] : plan) {
        Bytes payload{start};
        for (const auto w : words)
            sim::PutWord(payload, w);
        frames.push_back(sim::Ro4dRequest(5, payload));
    }
    return frames;
}

std::array<std::uint16_t, 56> ReadAllPages(Ro4dUnit& unit) {
    std::array<std::uint16_t, 56> regs{};
    for (std::uint8_t page = 0; page < 7; ++page) {
        const Bytes reply = Ask(unit, sim::Ro4dRequest(1, {page}));
        EXPECT_EQ(reply.size(), 22u);
        EXPECT_EQ(reply[3], 1);
        EXPECT_TRUE(CrcOk(reply));
        for (int k = 0; k < 8; ++k)
            regs[static_cast<std::size_t>(page * 8 + k)] = Word(reply, k);
    }
    return regs;
}

} // namespace

TEST(Ro4dUnit, VersionReplyNamesTheBoardGeneration) {
    Ro4dUnit v2(sim::Ro4dBoard::V2);
    const Bytes request{0x05, 0x01, 0x00, 0x14, 0x5D};
    EXPECT_EQ(sim::Ro4dRequest(0), request);
    const Bytes reply = Ask(v2, request);
    ASSERT_EQ(reply.size(), 27u);
    EXPECT_EQ(reply[0], 27);
    EXPECT_EQ(reply[1], 1);
    EXPECT_EQ(reply[2], 0);
    EXPECT_EQ(reply[3], 1);
    EXPECT_TRUE(CrcOk(reply));
    const std::string text(reply.begin() + 4, reply.begin() + 25);
    EXPECT_EQ(text.size(), 21u);
    EXPECT_EQ(text[8], '2'); // characters 9 and 11, counted from 1
    EXPECT_EQ(text[10], '1');

    Ro4dUnit v1(sim::Ro4dBoard::V1);
    const Bytes old = Ask(v1, request);
    ASSERT_EQ(old.size(), 27u);
    EXPECT_EQ(old[4 + 8], '1');
    EXPECT_EQ(old[4 + 10], '9');
}

TEST(Ro4dUnit, PagesHoldTheFactoryConfiguration) {
    Ro4dUnit unit(sim::Ro4dBoard::V1);
    const auto regs = ReadAllPages(unit);
    const std::uint16_t params[] = {15,  7,   1,   6,   6,   240, 25,     3,  5, 10,  0, 205,   232,
                                    993, 883, 768, 993, 883, 768, 0x1800, 30, 1, 120, 0, 0x3355};
    for (int r = 0; r < 25; ++r)
        EXPECT_EQ(regs[static_cast<std::size_t>(r)], params[r]) << "register " << r;
    EXPECT_EQ(regs[32], 0x053C); // wFlagWork_M1
    EXPECT_EQ(regs[34], 0x0001); // wTempV1a: K1
    EXPECT_EQ(regs[43], 0x0004); // wTempV1b: K3

    Ro4dUnit v2(sim::Ro4dBoard::V2);
    const auto regs2 = ReadAllPages(v2);
    EXPECT_EQ(regs2[10], 729); // test line thresholds of 2.x boards
    EXPECT_EQ(regs2[11], 496);

    const Bytes bad = Ask(unit, sim::Ro4dRequest(1, {7}));
    ASSERT_EQ(bad.size(), 22u);
    EXPECT_EQ(bad[3], sim::ro4d_status::kRefused);
    EXPECT_TRUE(CrcOk(bad));
}

TEST(Ro4dUnit, WhatTheProgramWritesReadsBackIntoTheSameWords) {
    Ro4dUnit unit;
    std::array<std::uint16_t, 33> p{};
    std::array<std::uint16_t, 33> m{};
    for (int i = 0; i < 33; ++i) {
        p[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(100 + i * 3);
        m[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(0x1000 + i);
    }
    p[12] = 200; // the reference code is a byte
    const auto frames = WriteFrames(p, m);
    for (const Bytes& frame : frames) {
        ASSERT_EQ(frame.size(), 22u);
        const Bytes reply = Ask(unit, frame);
        ASSERT_EQ(reply.size(), 6u);
        EXPECT_EQ(reply[3], 1);
        EXPECT_TRUE(CrcOk(reply));
    }
    const auto regs = ReadAllPages(unit);
    for (std::size_t n = 0; n <= 24; ++n)
        EXPECT_EQ(regs[n], p[n]) << "parameter word " << n;
    for (std::size_t n = 0; n < 20; ++n)
        EXPECT_EQ(regs[32 + n], m[n]) << "mode word " << n;
    for (std::size_t r = 25; r <= 30; ++r)
        EXPECT_EQ(regs[r], 0) << "zero words of frame 4";
    for (std::size_t r = 52; r < 56; ++r)
        EXPECT_EQ(regs[r], 0) << "zero words of frame 7";
}

TEST(Ro4dUnit, DefaultFrameOneMatchesTheProgramsBytes) {
    std::array<std::uint16_t, 33> p{15, 7, 1, 6, 6, 240, 25};
    const Bytes frame = WriteFrames(p, {})[0];
    const Bytes head{0x16, 0x01, 0x05, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x07, 0x00,
                     0x01, 0x00, 0x06, 0x00, 0x06, 0x00, 0xF0, 0x00, 0x19, 0x00};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), frame.begin()));
    Ro4dUnit unit;
    Ask(unit, frame);
    EXPECT_EQ(unit.registers()[0], 15);
    EXPECT_EQ(unit.registers()[6], 25);
    EXPECT_EQ(unit.registers()[7], 3) << "write address 8 is not in frame 1";
}

TEST(Ro4dUnit, SaveKeepsAndRestartReloadsFromFlash) {
    Ro4dUnit unit;
    Bytes payload{0x08};
    for (int i = 0; i < 8; ++i)
        sim::PutWord(payload, static_cast<std::uint16_t>(50 + i));
    const Bytes write = sim::Ro4dRequest(5, payload);

    ASSERT_EQ(Ask(unit, write)[3], 1);
    EXPECT_EQ(unit.registers()[7], 50);
    Bytes restart = Ask(unit, Bytes{0x05, 0x01, 0x04, 0x54, 0xD9});
    ASSERT_EQ(restart.size(), 11u);
    EXPECT_EQ(restart[3], 1);
    EXPECT_TRUE(CrcOk(restart));
    EXPECT_EQ(unit.registers()[7], 3) << "unsaved changes are gone after a restart";

    ASSERT_EQ(Ask(unit, write)[3], 1);
    const Bytes save = Ask(unit, sim::Ro4dRequest(3));
    ASSERT_EQ(save.size(), 6u);
    EXPECT_EQ(save[3], 1);
    EXPECT_EQ(unit.flashSaves(), 1);
    Ask(unit, sim::Ro4dRequest(4));
    EXPECT_EQ(unit.registers()[7], 50);
    EXPECT_EQ(unit.restarts(), 2);
}

TEST(Ro4dUnit, WritesTheUnitCannotHoldAreRefusedWhole) {
    Ro4dUnit unit;
    Bytes payload{0x08}; // registers 7..14: 13 and 14 are 10-bit ADC codes
    for (int i = 0; i < 8; ++i)
        sim::PutWord(payload, i == 7 ? 1024 : 9);
    const Bytes reply = Ask(unit, sim::Ro4dRequest(5, payload));
    ASSERT_EQ(reply.size(), 6u);
    EXPECT_EQ(reply[3], sim::ro4d_status::kRefused);
    EXPECT_TRUE(CrcOk(reply));
    EXPECT_EQ(unit.registers()[7], 3) << "nothing of a refused frame is stored";

    unit.faults().add({sim::FaultKind::Refuse, -1, 1});
    EXPECT_EQ(Ask(unit, sim::Ro4dRequest(3))[3], sim::ro4d_status::kRefused);
    EXPECT_EQ(Ask(unit, sim::Ro4dRequest(3))[3], 1) << "the refusal was for one write only";

    // "keep": the unit says done and keeps its old words.
    unit.faults().add({sim::FaultKind::Keep, -1, 1});
    Bytes keep{0x08};
    for (int i = 0; i < 8; ++i)
        sim::PutWord(keep, 9);
    EXPECT_EQ(Ask(unit, sim::Ro4dRequest(5, keep))[3], 1);
    EXPECT_EQ(unit.registers()[7], 3);
    EXPECT_EQ(Ask(unit, sim::Ro4dRequest(5, keep))[3], 1);
    EXPECT_EQ(unit.registers()[7], 9) << "kept for one write only";
}

TEST(Ro4dUnit, ErrorWordsAndAdcChannels) {
    Ro4dUnit unit;
    unit.setErrors(0x0041, 0x00F4, 0x3F);
    const Bytes errors = Ask(unit, sim::Ro4dRequest(6));
    ASSERT_EQ(errors.size(), 11u);
    EXPECT_EQ(Bytes(errors.begin() + 3, errors.begin() + 9),
              (Bytes{0x01, 0x41, 0x00, 0xF4, 0x00, 0x3F}));
    EXPECT_TRUE(CrcOk(errors));

    unit.setAdc(5, 512);
    const Bytes adc = Ask(unit, sim::Ro4dRequest(7, {5}));
    ASSERT_EQ(adc.size(), 8u);
    EXPECT_EQ(adc[3], 1);
    EXPECT_EQ(sim::WordAt(adc, 4), 512);
    EXPECT_TRUE(CrcOk(adc));
    EXPECT_EQ(Ask(unit, sim::Ro4dRequest(7, {6}))[3], sim::ro4d_status::kRefused);

    Ro4dUnit old(sim::Ro4dBoard::V1);
    const Bytes none = Ask(old, sim::Ro4dRequest(7, {0}));
    ASSERT_EQ(none.size(), 8u);
    EXPECT_EQ(none[3], sim::ro4d_status::kUnknown);
}

TEST(Ro4dUnit, OnlySoundFramesForItsAddressAreAnswered) {
    Ro4dUnit unit;
    Bytes corrupt = sim::Ro4dRequest(0);
    corrupt.back() ^= 1;
    EXPECT_TRUE(Ask(unit, corrupt).empty());
    Bytes other{0x05, 0x02, 0x00};
    TMasBytes buf = other;
    buf.resize(5);
    std::uint16_t len = 3;
    AppendCrc16(buf, len);
    EXPECT_TRUE(Ask(unit, buf).empty()) << "another unit's address";

    Bytes noisy{0xFF, 0x00, 0x07};
    const Bytes version = sim::Ro4dRequest(0);
    noisy.insert(noisy.end(), version.begin(), version.end());
    EXPECT_EQ(Ask(unit, noisy).size(), 27u) << "stray bytes before a frame are skipped";

    const Bytes unknown = Ask(unit, sim::Ro4dRequest(2));
    ASSERT_EQ(unknown.size(), 6u);
    EXPECT_EQ(unknown[3], sim::ro4d_status::kUnknown);

    const Bytes shortPage = Ask(unit, sim::Ro4dRequest(1));
    ASSERT_EQ(shortPage.size(), 22u) << "a malformed request still gets its reply length";
    EXPECT_EQ(shortPage[3], sim::ro4d_status::kUnknown);
}

TEST(Ro4dUnit, FrameInPiecesIsAnsweredOnceCompleteUnlessTheLineWentQuiet) {
    Ro4dUnit unit;
    const Bytes request = sim::Ro4dRequest(1, {2});
    EXPECT_TRUE(unit.feed(request.data(), 3, 1000).empty());
    const auto rest = unit.feed(request.data() + 3, request.size() - 3, 1010);
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].bytes.size(), 22u);

    EXPECT_TRUE(unit.feed(request.data(), 3, 2000).empty());
    EXPECT_TRUE(unit.feed(request.data() + 3, request.size() - 3, 2000 + 600).empty())
        << "the head was forgotten after a quiet line";
    EXPECT_EQ(unit.feed(request, 3300).size(), 1u);
}
