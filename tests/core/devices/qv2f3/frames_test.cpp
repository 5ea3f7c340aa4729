#include "devices/qv2f3/bench_frames.h"

#include <gtest/gtest.h>

using namespace qv2f3;

TEST(BenchFrames, BenchCommandsAreLetterCodeAndSum) {
    EXPECT_EQ(BenchCommandFrame(0x80), (TMasBytes{0x43, 0x80, 0xC3}));
    EXPECT_EQ(BenchCommandFrame(0x06), (TMasBytes{0x43, 0x06, 0x49}));
    const std::pair<std::uint8_t, std::uint8_t> sums[] = {{0x00, 0x43}, {0x01, 0x44}, {0x02, 0x45},
                                                          {0x03, 0x46}, {0x04, 0x47}, {0x05, 0x48}};
    for (auto [code, sum] : sums)
        EXPECT_EQ(BenchCommandFrame(code), (TMasBytes{0x43, code, sum}));
    EXPECT_EQ(BenchCommandFrame(0xBD), (TMasBytes{0x43, 0xBD, 0x00})) << "sum wraps at 256";
}

TEST(BenchFrames, SessionAndSettingsInTheQv1Frame) {
    EXPECT_EQ(SessionFrame(), (TMasBytes{0x08, 0x73, 0x52, 0x34, 0x43, 0x46, 0x47, 0x3C}));
    EXPECT_EQ(ReadTimesFrame(), (TMasBytes{0x03, 0x52, 0x3C}));
    EXPECT_EQ(WriteTimesFrame({10, 20, 30, 44, 0, 255}),
              (TMasBytes{0x09, 0x57, 10, 20, 30, 44, 0, 255, 0x3C}));
}

TEST(BenchFrames, RepliesOfSessionAndSettings) {
    // Bytes 2..6 carry the text: Cyrillic "ЗИ", a control code, a pseudographic, a digit.
    const TMasBytes session{0x08, 0x73, 0x87, 0x88, 0x07, 0xB3, 0x32, 0x00};
    EXPECT_EQ(SessionIdent(session), QStringLiteral("ЗИ  2"));
    EXPECT_EQ(SessionIdent(TMasBytes{1, 2, 3}), QString()) << "short buffer reads nothing";

    const TMasBytes times{0x09, 0x52, 1, 2, 3, 4, 5, 250, 0x3C};
    EXPECT_EQ(ReadTimesValues(times), (TDelaySettings{1, 2, 3, 4, 5, 250}));
    EXPECT_EQ(ReadTimesValues(TMasBytes{1}), TDelaySettings{});

    EXPECT_TRUE(WriteTimesAccepted({0x03, 0x00, 0x3C}));
    EXPECT_FALSE(WriteTimesAccepted({0x03, 0x01, 0x3C}));
    EXPECT_FALSE(WriteTimesAccepted({0x03}));
}

TEST(BenchFrames, CommandTableKnowsTheEightCodes) {
    for (std::uint8_t code : {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x80})
        ASSERT_NE(FindBenchCommand(code), nullptr) << int(code);
    EXPECT_EQ(FindBenchCommand(0x07), nullptr);
    EXPECT_EQ(FindBenchCommand(0x03)->clear, TBenchClear::WorkVolt);
}
