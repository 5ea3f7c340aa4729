#include "devices/qv2f3/bench_receive.h"

#include <deque>
#include <gtest/gtest.h>

using namespace qv2f3;

namespace {

// A line that hands out the bytes still in it, as the port would.
struct ScriptedLine {
    std::deque<TMasBytes> chunks; // what each read can collect
    std::vector<std::size_t> asked;
    TBenchLine line() {
        return {[this](std::size_t count) {
                    asked.push_back(count);
                    if (chunks.empty())
                        return TMasBytes{};
                    TMasBytes c = std::move(chunks.front());
                    chunks.pop_front();
                    return c;
                },
                [this] { return chunks.empty() ? std::size_t{0} : chunks.front().size(); }};
    }
};

const TMasBytes kMeasured{0x54, 0x32, 0xD2, 0x04, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 0x6B};

} // namespace

TEST(BenchReceive, WholePacketNeedsNoFurtherRead) {
    ScriptedLine s;
    const auto r = TakeBenchPacket({0x53, 0x01, 0x10, 0x64}, s.line());
    EXPECT_EQ(r.length, 4u);
    EXPECT_EQ(r.packet, (TMasBytes{0x53, 0x01, 0x10, 0x64}));
    EXPECT_FALSE(r.completed);
    EXPECT_TRUE(s.asked.empty());
}

TEST(BenchReceive, FirstByteAloneIsCompletedByOneRead) {
    ScriptedLine s;
    s.chunks.push_back(TMasBytes(kMeasured.begin() + 1, kMeasured.end()));
    const auto r = TakeBenchPacket({0x54}, s.line());
    EXPECT_EQ(s.asked, std::vector<std::size_t>{14});
    EXPECT_EQ(r.packet, kMeasured);
    EXPECT_TRUE(r.completed);
    EXPECT_FALSE(r.stitched);
}

TEST(BenchReceive, ThirdPieceIsStitchedWhenBytesWait) {
    ScriptedLine s;
    s.chunks.push_back(TMasBytes(kMeasured.begin() + 3, kMeasured.begin() + 9));
    s.chunks.push_back(TMasBytes(kMeasured.begin() + 9, kMeasured.end()));
    const auto r = TakeBenchPacket(TMasBytes(kMeasured.begin(), kMeasured.begin() + 3), s.line());
    EXPECT_EQ(s.asked, (std::vector<std::size_t>{12, 6}));
    EXPECT_EQ(r.packet, kMeasured);
    EXPECT_TRUE(r.stitched);
}

TEST(BenchReceive, MissingBytesThatNeverComeLeaveAShortPacket) {
    ScriptedLine s; // silent line
    const auto r = TakeBenchPacket({0x75, 0x05, 0x07}, s.line());
    EXPECT_EQ(r.length, 6u);
    EXPECT_EQ(r.packet, (TMasBytes{0x75, 0x05, 0x07}));
    EXPECT_EQ(s.asked, std::vector<std::size_t>{3}) << "no second read when nothing waits";
    EXPECT_FALSE(r.stitched);

    const auto unwired = TakeBenchPacket({0x75}, TBenchLine{});
    EXPECT_EQ(unwired.packet.size(), 1u);
}

TEST(BenchReceive, SecondPacketAndGarbageAreDropped) {
    ScriptedLine s;
    const auto r = TakeBenchPacket({0x53, 0x01, 0x10, 0x64, 0x75, 1, 2, 3, 4, 5}, s.line());
    EXPECT_EQ(r.packet.size(), 4u);
    EXPECT_TRUE(s.asked.empty());

    const auto g = TakeBenchPacket(TMasBytes(4096, 0x58), s.line());
    EXPECT_EQ(g.length, 0u);
    EXPECT_TRUE(g.packet.empty());
    EXPECT_TRUE(s.asked.empty()) << "garbage makes no read";
    EXPECT_EQ(TakeBenchPacket({}, s.line()).length, 0u);
}

TEST(BenchReceive, AReadLargerThanAskedCannotGrowThePacket) {
    ScriptedLine s;
    s.chunks.push_back(TMasBytes(100, 0x01));
    const auto r = TakeBenchPacket({0x53}, s.line());
    EXPECT_EQ(r.packet, (TMasBytes{0x53, 0x01, 0x01, 0x01}));
}
