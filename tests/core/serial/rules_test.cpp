// The component's plain rules: character length, tail waits, rates.
#include "serial/com_port_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(SendRules, BitsPerCharacterLeaveOutTheStartBit) {
    EXPECT_EQ(BitsPerChar(db8Bits, sb1Bit, prNone), 9);
    EXPECT_EQ(BitsPerChar(db8Bits, sb2Bits, prEven), 11);
    EXPECT_EQ(BitsPerChar(db7Bits, sb1halfBits, prNone), 9);
    EXPECT_EQ(BitsPerChar(db5Bits, sb1Bit, prSpace), 7);
}

TEST(SendRules, TailsRoundCharacterTimesUp) {
    // 9600 8N1: 0.9375 ms per character.
    TSendTail t = SendTail(9600, 9, "", 4, 4);
    EXPECT_EQ(t.after1, 1);
    EXPECT_EQ(t.after2, 2);
    // 2400 8N1: 3.75 and 7.5 ms.
    t = SendTail(2400, 9, "", 4, 4);
    EXPECT_EQ(t.after1, 4);
    EXPECT_EQ(t.after2, 8);
    // Whole values stay whole: 300 baud, 9 bits is exactly 30 ms.
    t = SendTail(300, 9, "", 4, 4);
    EXPECT_EQ(t.after1, 30);
    EXPECT_EQ(t.after2, 60);
    t = SendTail(0, 9, "", 4, 4);
    EXPECT_EQ(t.after1, 0) << "a zero rate must not divide by zero";
}

TEST(SendRules, OnlyTheOldWindowsNamesShiftTheTails) {
    TSendTail t = SendTail(2400, 9, "98", 4, 4);
    EXPECT_EQ(t.after1, 3);
    EXPECT_EQ(t.after2, 7);
    t = SendTail(2400, 9, "95", 0, 4);
    EXPECT_EQ(t.after1, 5);
    EXPECT_EQ(t.after2, 9);
    t = SendTail(2400, 9, "XP", 0, 4);
    EXPECT_EQ(t.after1, 4);
}

TEST(SendRules, RatesAndNames) {
    EXPECT_EQ(BaudRateValue(br9600, 1234), 9600u);
    EXPECT_EQ(BaudRateValue(br256000, 0), 256000u);
    EXPECT_EQ(BaudRateValue(brCustom, 9600), 9600u);
    EXPECT_EQ(NormalizePortName("com7"), "COM7");
    EXPECT_EQ(NormalizePortName("Com96"), "COM96");
    EXPECT_EQ(NormalizePortName("COM-3"), "COM1");
    EXPECT_EQ(NormalizePortName("COM3x"), "COM1");
}

} // namespace
