#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/param_codec.h"

#include <gtest/gtest.h>

namespace {

// The parameter controls as the pages lay them out.
TQv4mParams pageDefaults() {
    TQv4mParams p;
    p.TimeSearchSinus = "30";
    p.NumOfCycleReleSwitch = "7";
    p.TimeAntidrebRele = "10";
    p.TimeAntidrebADC = "500";
    p.TimeAntidrebWarning = "60";
    p.PeriodTimeTest = "120";
    p.TimeMode3 = "30";
    p.T_off = "1";
    p.T_min6a = "6";
    p.T_min6b = "6";
    p.T_240 = "240";
    p.T_end = "10";
    p.T_wait = "1";
    p.VoltOpora = "5.00";
    p.VoltLowTestMotor = "1.00";
    p.VoltHiBtn = "4.85";
    p.VoltDnBtn = "4.31";
    p.VoltLoBtn = "3.75";
    p.VoltHiSig = "4.85";
    p.VoltDnSig = "4.31";
    p.VoltLoSig = "3.75";
    p.Edit1 = "2.35";
    p.Edit2 = "1.60";
    p.BlockFreeSignal = true;
    p.IfBadK3OffM1 = true;
    p.CheckBox19 = true;
    p.LineChecks = 0x3355;
    return p;
}

TParamRegs build(const TQv4mParams& p, bool board2x = false, double rVoltOpora = 5.5) {
    TParamRegs regs{};
    EXPECT_TRUE(BuildParamWords(p, PackFlagMode1(p, kModeIndependent, kOrAndAnd, kOrAndAnd),
                                rVoltOpora, board2x, regs));
    return regs;
}

} // namespace

TEST(ParamCodec, DefaultsGiveTheListedWords) {
    const TParamRegs regs = build(pageDefaults());
    const std::uint16_t listed[23] = {15,  7,   1,   6,   6,   240, 25,  3,      5,  10, 0,  205,
                                      232, 993, 883, 768, 993, 883, 768, 0x1800, 30, 1,  120};
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(regs[i], listed[i]) << "word " << i;
    EXPECT_EQ(regs[wFlagCheck_But_Sig_SW_OZ], 0x3355);
}

TEST(ParamCodec, WholeNumbersKeepLow16BitsAndScale) {
    EXPECT_EQ(WholeWord("31", 2), 15);
    EXPECT_EQ(WholeText(15, 2), "30");
    EXPECT_EQ(WholeWord("510", 20), 25);
    EXPECT_EQ(WholeText(25, 20), "500");
    EXPECT_EQ(WholeWord("70000"), 4464);
    EXPECT_EQ(WholeWord("-1"), 0xFFFF);
    EXPECT_EQ(WholeWord("-1", 2), 0x7FFF);
    EXPECT_EQ(WholeText(0xFFFF, 20), "1310700");
    // Not a number: 0, and the operation goes on.
    EXPECT_EQ(WholeWord("abc"), 0);
}

TEST(ParamCodec, AdcAndReferenceCodesRoundHalfToEven) {
    EXPECT_EQ(AdcCode(204.5, 1024.0), 204);
    EXPECT_EQ(AdcCode(205.5, 1024.0), 206);
    EXPECT_EQ(AdcCode(1.0, 5.0), 205); // 204.8
    EXPECT_EQ(RefCode(5.0, 5.5), 232);
    EXPECT_EQ(RefCode(2.5, 255.0), 2);
    EXPECT_EQ(RefCode(3.5, 255.0), 4);
    EXPECT_EQ(FormatVolts(RefVolts(232, 5.5)), FormatVolts(5.0));
    EXPECT_EQ(FormatVolts(CodeVolts(993, RefVolts(232, 5.5))), FormatVolts(4.85));
}

TEST(ParamCodec, CommaAndPointEntriesGiveTheSameWords) {
    TQv4mParams comma = pageDefaults();
    comma.VoltOpora = "5,00";
    comma.VoltHiBtn = "3,30";
    TQv4mParams point = pageDefaults();
    point.VoltHiBtn = "3.30";
    EXPECT_EQ(build(comma), build(point));
}

TEST(ParamCodec, UnusableReferenceVoltageLeavesEveryWordAsItWas) {
    for (const char* vref : {"0", "0,00", "abc", "", "-5"}) {
        TQv4mParams p = pageDefaults();
        p.VoltOpora = vref;
        TParamRegs regs;
        regs.fill(0xBEEF);
        EXPECT_FALSE(BuildParamWords(p, 0, 5.5, false, regs)) << vref;
        for (std::uint16_t w : regs)
            EXPECT_EQ(w, 0xBEEF) << vref;
    }
}

TEST(ParamCodec, BoardGenerationRoutesTheTestLineWords) {
    TParamRegs regs{};
    regs[wTest_Lvl_DO] = 0x1111;
    const TQv4mParams p = pageDefaults();
    ASSERT_TRUE(BuildParamWords(p, 0, 5.5, false, regs));
    EXPECT_EQ(regs[wTest_Lvl_DO], 0);
    EXPECT_EQ(regs[cVolt_Lvl_L], 205);
    // 2.x: full scale 3.63 V; Edit1 and Edit2 give words 10 and 11.
    ASSERT_TRUE(BuildParamWords(p, 0, 3.63, true, regs));
    EXPECT_EQ(regs[wTest_Lvl_DO], 481); // 2.35 * 1024 / 5 = 481.28
    EXPECT_EQ(regs[cVolt_Lvl_L], 328);  // 1.60 * 1024 / 5 = 327.68
    EXPECT_EQ(regs[bVoltRef], 351);     // 5 * 255 / 3.63 = 351.24
}

TEST(ParamCodec, UnsetWordsKeepWhatAFileGaveThem) {
    TParamRegs regs{};
    regs[23] = 0x2323;
    for (int i = 25; i < kParamRegCount; ++i)
        regs[i] = static_cast<std::uint16_t>(0x2500 + i);
    ASSERT_TRUE(BuildParamWords(pageDefaults(), 0, 5.5, false, regs));
    EXPECT_EQ(regs[23], 0x2323);
    for (int i = 25; i < kParamRegCount; ++i)
        EXPECT_EQ(regs[i], 0x2500 + i);
}

TEST(ParamCodec, WordsShowBackOnThePage) {
    const TParamRegs regs = build(pageDefaults());
    TQv4mParams shown;
    shown.LineChecks = sig::Switch3; // switch boxes keep their state
    int mode = -1;
    ShowParamWords(regs, 5.5, false, shown, mode);
    const TQv4mParams d = pageDefaults();
    EXPECT_EQ(shown.TimeSearchSinus, d.TimeSearchSinus);
    EXPECT_EQ(shown.TimeAntidrebADC, d.TimeAntidrebADC);
    EXPECT_EQ(shown.TimeAntidrebWarning, d.TimeAntidrebWarning);
    EXPECT_EQ(shown.T_240, d.T_240);
    EXPECT_EQ(shown.PeriodTimeTest, d.PeriodTimeTest);
    EXPECT_EQ(shown.VoltOpora, FormatVolts(5.0));
    EXPECT_EQ(shown.VoltHiBtn, FormatVolts(4.85));
    EXPECT_EQ(shown.VoltLoSig, FormatVolts(3.75));
    EXPECT_EQ(shown.VoltLowTestMotor, FormatVolts(1.0));
    EXPECT_TRUE(shown.Edit1.isEmpty()); // not a 2.x board
    EXPECT_TRUE(shown.CheckBox19);
    EXPECT_TRUE(shown.IfBadK3OffM1);
    EXPECT_FALSE(shown.CheckBox1);
    EXPECT_EQ(shown.RadioGroup2, 0);
    EXPECT_EQ(mode, kModeIndependent);
    EXPECT_EQ(shown.LineChecks, (0x3355 & sig::Lines) | sig::Switch3);
}

TEST(ParamCodec, FlagMode1CarriesOptionsModeAndRadioGroups) {
    TQv4mParams p;
    p.CheckBox1 = p.NoWaitOffBtn = p.CheckBox16 = true;
    p.RadioGroup2 = 1;
    EXPECT_EQ(PackFlagMode1(p, kModeM2Unused, kOrAndOr, kOrAndAnd), 0x00AF);
    EXPECT_EQ(PackFlagMode1(TQv4mParams{}, kModeM2AfterM1, kOrAndSingle, kOrAndOr), 0x0340);
    EXPECT_EQ(PackFlagMode1(TQv4mParams{}, -1, kOrAndAnd, kOrAndAnd), 0);

    TQv4mParams back;
    int mode = -1;
    UnpackFlagMode1(0x00AF, back, mode);
    EXPECT_TRUE(back.CheckBox1 && back.NoWaitOffBtn && back.CheckBox16);
    EXPECT_EQ(back.RadioGroup2, 1);
    EXPECT_EQ(mode, kModeM2Unused);
    UnpackFlagMode1(0x0100, back, mode); // bit 8 alone still means M2 after M1
    EXPECT_EQ(mode, kModeM2AfterM1);
    UnpackFlagMode1(0x0104, back, mode); // bit 2 wins
    EXPECT_EQ(mode, kModeM2Unused);
}

TEST(ParamCodec, LineControlFollowsTheUsedSignals) {
    TModeEditor ed;
    ed.m2.stop[msK3].checked = true;
    ed.m1.start[msZp].checked = true;
    // Dispatcher on C1, no CheckBox19: C1 counts as used, C3 does not.
    const std::uint16_t used = UsedLineSignals(ed, false, 0);
    EXPECT_EQ(used, sig::K3 | sig::Zp | sig::C1);
    EXPECT_EQ(UsedLineSignals(TModeEditor{}, true, 0), sig::C1 | sig::C3);
    EXPECT_EQ(UsedLineSignals(TModeEditor{}, false, 1), sig::C3);

    const std::uint16_t user = sig::K1 | sig::Op | sig::Switch1;
    // Unused lines dropped, switches kept, used lines checked.
    EXPECT_EQ(AdjustLineChecks(user, used, true), sig::K3 | sig::Zp | sig::C1 | sig::Switch1);
    // Without the option the user's extra lines stay.
    EXPECT_EQ(AdjustLineChecks(user, used, false),
              sig::K1 | sig::Op | sig::K3 | sig::Zp | sig::C1 | sig::Switch1);
}
