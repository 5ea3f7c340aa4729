#include "pages_fixture.h"

#include "core/devices/qv4m/editor_fixtures.h"

#include "devices/qv4m/number_text.h"
#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/qv4m_mode_page.h"
#include "devices/qv4m/qv4m_times_page.h"
#include "devices/qv4m/radio_group.h"
#include "support/recording_interaction.h"

#include <QGroupBox>

namespace {

const std::uint16_t kListedWords[23] = {15,  7,   1,   6,   6,   240, 25,  3,      5,  10, 0,  205,
                                        232, 993, 883, 768, 993, 883, 768, 0x1800, 30, 1,  120};

} // namespace

TEST(Qv4mStartUp, PagesAreLaidOutAndActivationAppliesTheRulesOnce) {
    CreateAppWindows(false);
    TQv4mPages* pages = Qv4mPagesOf(Relcon4);
    ASSERT_TRUE(pages);
    EXPECT_TRUE(Relcon4->TabSheet3->isAncestorOf(pages->ModePage));
    EXPECT_TRUE(Relcon4->TabSheet6->isAncestorOf(pages->TimesPage));

    const TModeEditor laidOut = qv4mtest::LaidOutEditor();
    TModeEditor before = pages->ModePage->ReadEditor();
    EXPECT_EQ(qv4mtest::Values(before.m1), qv4mtest::Values(laidOut.m1));
    EXPECT_EQ(qv4mtest::Values(before.m2), qv4mtest::Values(laidOut.m2));
    EXPECT_TRUE(before.m1.start[msK3].enabled);
    EXPECT_FALSE(before.m1.start[msK1].enabled);
    EXPECT_EQ(before.mainMode, kModeIndependent);
    EXPECT_EQ(before.m2Caption, QStringLiteral("М2"));

    Relcon4->prActivateMasterForm(nullptr);
    EXPECT_FALSE(Relcon4->fNotSetCheckBoxs);
    EXPECT_FALSE(Relcon4->fBlockPressKey);
    const TModeEditor after = pages->ModePage->ReadEditor();
    for (int s = 0; s < kMainSignals; ++s) {
        EXPECT_TRUE(after.m1.start[s].checked && !after.m1.start[s].enabled) << s;
        EXPECT_TRUE(after.m2.start[s].checked && !after.m2.start[s].enabled) << s;
    }
    EXPECT_EQ(after.m2Caption, QStringLiteral("M2"));
    DestroyAppWindows();
}

TEST_F(Qv4mPagesTest, DefaultPagesGiveTheListedWords) {
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(mParamRegs[i], kListedWords[i]) << "word " << i;
    EXPECT_EQ(mParamRegs[wFlagCheck_But_Sig_SW_OZ], 0x3355);
    EXPECT_EQ(mExtraWords[0], 1);
    EXPECT_EQ(Relcon4->wFlagWork_M1, 0x053C);
    EXPECT_EQ(Relcon4->wFlagWork_M2, 0x051C);
    const std::uint16_t modeWords[20] = {0x053C, 0x051C, 0x0001, 0x1000, 0x0040, 0x2004, 0,
                                         0,      0,      0x0001, 0x1000, 0x0004, 0x2000, 0x0010,
                                         0x1001, 0,      0,      0,      0x0004, 0x2000};
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(mModeRegs[i], modeWords[i]) << "mode word " << i;
    for (int i = 20; i < kModeRegCount; ++i)
        EXPECT_EQ(mModeRegs[i], 0);
}

TEST_F(Qv4mPagesTest, UnusableReferenceVoltageIsRefusedBeforeAnythingChanges) {
    RecordingInteraction user;
    for (const char* vref : {"0", "0,00", "нет"}) {
        mParamRegs.fill(0xBEEF);
        mModeRegs.fill(0xBEEF);
        mExtraWords.fill(0xBEEF);
        Relcon4->wFlagWork_M1 = 0xBEEF;
        on("K1_check_CheckBox")->setChecked(false); // the adjustment would check it again
        setText("VoltOporaEdit", QString::fromUtf8(vref));
        EXPECT_FALSE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
        ASSERT_FALSE(user.messages.empty());
        EXPECT_EQ(user.messages.back().kind, QStringLiteral("plain"));
        EXPECT_EQ(user.messages.back().text, UnusableVrefMessage());
        EXPECT_TRUE(std::all_of(mParamRegs.begin(), mParamRegs.end(),
                                [](std::uint16_t w) { return w == 0xBEEF; }));
        EXPECT_TRUE(std::all_of(mModeRegs.begin(), mModeRegs.end(),
                                [](std::uint16_t w) { return w == 0xBEEF; }));
        EXPECT_EQ(mExtraWords[0], 0xBEEF);
        EXPECT_EQ(Relcon4->wFlagWork_M1, 0xBEEF);
        EXPECT_FALSE(checked("K1_check_CheckBox"));
    }
    EXPECT_EQ(user.messages.size(), 3u);
}

TEST_F(Qv4mPagesTest, EntriesThatAreNoNumbersCountAsZero) {
    RecordingInteraction user;
    setText("T_240_Edit", QStringLiteral("abc"));
    setText("TimeAntidrebADC_Edit", QString());
    setText("VoltHiBtnEdit", QStringLiteral("x"));
    setText("VoltDnBtnEditEdit", QStringLiteral("3,30"));
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    EXPECT_EQ(mParamRegs[cKoncErrTime], 0);
    EXPECT_EQ(mParamRegs[cAntiDreb_ADC_B], 0);
    EXPECT_EQ(mParamRegs[wBut_Lvl_DO], 0);
    EXPECT_EQ(mParamRegs[wBut_Lvl_UD], 676); // 3.30 * 1024 / 5 = 675.84
    EXPECT_EQ(mParamRegs[wTest_Lvl_DO], 0);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Qv4mPagesTest, UnusedLineIsDroppedOnlyWithBlockFreeSignal) {
    // Take K1 out of every condition: M1's main conditions become O+ alone.
    on<QComboBox>("Main1_M1_ComboBox")->setCurrentIndex(msOp);
    ASSERT_TRUE(enabled("K1_M1_CheckBox"));
    click("K1_M1_CheckBox");
    click("K1stop_M1_CheckBox");
    click("K1_M2_CheckBox");
    ASSERT_FALSE(checked("K1_M1_CheckBox") || checked("K1stop_M1_CheckBox") ||
                 checked("K1_M2_CheckBox") || checked("K1stop_M2_CheckBox"));

    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    EXPECT_FALSE(checked("K1_check_CheckBox"));
    EXPECT_EQ(mParamRegs[wFlagCheck_But_Sig_SW_OZ], 0x3354);
    EXPECT_EQ(mExtraWords[0], 1);

    click("BlockFreeSignalCheckBox");
    click("K1_check_CheckBox");
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    EXPECT_TRUE(checked("K1_check_CheckBox"));
    EXPECT_EQ(mParamRegs[wFlagCheck_But_Sig_SW_OZ], 0x3355);
    EXPECT_EQ(mExtraWords[0], 0);
    click("K1_check_CheckBox");
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    EXPECT_FALSE(checked("K1_check_CheckBox"));
}

TEST_F(Qv4mPagesTest, DispatcherChoiceKeepsItsLimitSwitchMonitored) {
    showTab(modeTab);
    click("C1_M2_CheckBox");
    click("C1stop_M2_CheckBox");
    click("CheckBox19");
    showTab(timesTab);
    click("C1_check_CheckBox");
    ASSERT_FALSE(checked("C1_check_CheckBox"));
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    EXPECT_TRUE(checked("C1_check_CheckBox")) << "RadioGroup2 is on C1";

    showTab(modeTab);
    clickItem("RadioGroup2", 1);
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    EXPECT_FALSE(checked("C1_check_CheckBox"));
    EXPECT_TRUE(checked("C3_check_CheckBox"));
    EXPECT_EQ(mParamRegs[wFlag_Mode_1], 0x1080);
}

TEST_F(Qv4mPagesTest, ModeZeroAsTheUserChoosesIt) {
    stepCombo("MainModeComboBox", -1);
    ASSERT_EQ(on<QComboBox>("MainModeComboBox")->currentIndex(), kModeM2Unused);
    EXPECT_EQ(on<QGroupBox>("M2_GroupBox")->title(), QStringLiteral("M2 - не активен"));
    EXPECT_FALSE(enabled("T_min6b_Edit"));
    EXPECT_FALSE(enabled("Main1_M2_ComboBox"));
    EXPECT_FALSE(enabled("Main2_M2_ComboBox"));
    EXPECT_FALSE(enabled("K1_M2_ToggleSwitch"));
    EXPECT_TRUE(enabled("C1_M1_CheckBox"));
    EXPECT_TRUE(enabled("Tmin6ModeM1RadioGroup"));
    EXPECT_FALSE(Relcon4->fNotSetCheckBoxs);

    // A start box of M1 now also sets both Stop boxes and M2's start box.
    ASSERT_TRUE(enabled("K3_M1_CheckBox"));
    click("K3_M1_CheckBox");
    EXPECT_FALSE(checked("K3_M1_CheckBox"));
    EXPECT_FALSE(checked("K3stop_M1_CheckBox"));
    EXPECT_FALSE(checked("K3stop_M2_CheckBox"));
    EXPECT_FALSE(checked("K3_M2_CheckBox"));
    click("K3_M1_CheckBox");
    EXPECT_TRUE(checked("K3stop_M1_CheckBox"));
    EXPECT_TRUE(checked("K3stop_M2_CheckBox"));
    EXPECT_TRUE(checked("K3_M2_CheckBox"));

    // And M1's toggles carry over to M2.
    const bool z = checked("Zp_M1_ToggleSwitch");
    click("Zp_M1_ToggleSwitch");
    EXPECT_EQ(checked("Zp_M1_ToggleSwitch"), !z);
    EXPECT_EQ(checked("Zp_M2_ToggleSwitch"), !z);
}

TEST_F(Qv4mPagesTest, ModeTwoAsTheUserChoosesIt) {
    stepCombo("MainModeComboBox", 1);
    ASSERT_EQ(on<QComboBox>("MainModeComboBox")->currentIndex(), kModeM2AfterM1);
    EXPECT_EQ(on<QComboBox>("Main1_M2_ComboBox")->currentIndex(), msK1);
    EXPECT_EQ(on<QComboBox>("Main2_M2_ComboBox")->currentIndex(), msOp);
    EXPECT_EQ(on<TRadioGroup>("RadioGroupOrAnd_M2")->itemIndex(), kOrAndAnd);
    EXPECT_TRUE(enabled("T_min6b_Edit"));
    for (const char* m2 :
         {"Main2_M2_ComboBox", "RadioGroupOrAnd_M2", "C3stop_M2_CheckBox", "Tmin6ModeM2RadioGroup",
          "ActivateTwaitM2CheckBox", "DopIfAfterTwaitM2ToggleSwitch"})
        EXPECT_FALSE(enabled(m2)) << m2;
    EXPECT_EQ(on<TRadioGroup>("Tmin6ModeM1RadioGroup")->itemIndex(), kStopByTmin6);
    EXPECT_FALSE(enabled("Tmin6ModeM1RadioGroup"));
    for (const char* m1 :
         {"C1_M1_CheckBox", "C3_M1_CheckBox", "C1stop_M1_CheckBox", "C3stop_M1_CheckBox",
          "ActivateTendM1CheckBox", "ActivateT240M1CheckBox"}) {
        EXPECT_FALSE(checked(m1)) << m1;
        EXPECT_FALSE(enabled(m1)) << m1;
    }
    for (const char* row : {"K1", "Op", "K3", "Zp"}) {
        const QByteArray r(row);
        const bool start = checked(r + "_M1_CheckBox");
        EXPECT_EQ(checked(r + "stop_M1_CheckBox"), start) << row;
        EXPECT_EQ(checked(r + "stop_M2_CheckBox"), start) << row;
        EXPECT_EQ(checked(r + "_M2_CheckBox"), start) << row;
        EXPECT_EQ(checked(r + "_M2_ToggleSwitch"), checked(r + "_M1_ToggleSwitch")) << row;
    }
}

TEST_F(Qv4mPagesTest, SingleConditionAndIndependentChannels) {
    clickItem("RadioGroupOrAnd_M1", kOrAndSingle);
    EXPECT_EQ(on<QComboBox>("Main2_M1_ComboBox")->currentIndex(), msK1);
    EXPECT_FALSE(enabled("Main2_M1_ComboBox"));
    clickItem("RadioGroupOrAnd_M1", kOrAndAnd);
    EXPECT_TRUE(enabled("Main2_M1_ComboBox"));

    // Mode 1: free K3 from M2's main conditions, then ticking it touches nothing else.
    on<QComboBox>("Main1_M2_ComboBox")->setCurrentIndex(msK1);
    ASSERT_TRUE(enabled("K3_M1_CheckBox"));
    const bool stop1 = checked("K3stop_M1_CheckBox");
    const bool stop2 = checked("K3stop_M2_CheckBox");
    const bool start2 = checked("K3_M2_CheckBox");
    click("K3_M1_CheckBox");
    EXPECT_FALSE(checked("K3_M1_CheckBox"));
    EXPECT_EQ(checked("K3stop_M1_CheckBox"), stop1);
    EXPECT_EQ(checked("K3stop_M2_CheckBox"), stop2);
    EXPECT_EQ(checked("K3_M2_CheckBox"), start2);
}

TEST_F(Qv4mPagesTest, HandlersStayQuietWhileTheProgramSetsControls) {
    stepCombo("MainModeComboBox", -1);
    Relcon4->fNotSetCheckBoxs = true;
    click("K3_M1_CheckBox");
    EXPECT_FALSE(checked("K3_M1_CheckBox"));
    EXPECT_TRUE(checked("K3stop_M2_CheckBox"));
    EXPECT_TRUE(checked("K3_M2_CheckBox"));
    stepCombo("MainModeComboBox", 1);
    EXPECT_EQ(on<QGroupBox>("M2_GroupBox")->title(), QStringLiteral("M2 - не активен"));
    EXPECT_TRUE(Relcon4->fNotSetCheckBoxs);
    Relcon4->fNotSetCheckBoxs = false;
}

TEST_F(Qv4mPagesTest, ParameterWordsShowOnThePages) {
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    TParamRegs regs = mParamRegs;
    regs[cKoncErrTime] = 100;
    regs[cNumTryIsSinus] = 0x7FFF;
    regs[wFlag_Mode_1] = 0x0004 | 0x0080; // mode 0, dispatcher on C3
    regs[wFlagCheck_But_Sig_SW_OZ] = sig::K3;
    on("CheckBox13")->setChecked(true);
    pages->prShowParamRegs(regs);
    EXPECT_FALSE(Relcon4->fNotSetCheckBoxs);
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("100"));
    EXPECT_EQ(text("TimeSearchSinusEdit"), QStringLiteral("65534"));
    EXPECT_EQ(text("VoltOporaEdit"), FormatVolts(5.0));
    EXPECT_EQ(text("VoltHiBtnEdit"), FormatVolts(4.85));
    EXPECT_EQ(text("VoltLowTestMotorEdit"), FormatVolts(1.0));
    EXPECT_EQ(on<QComboBox>("MainModeComboBox")->currentIndex(), kModeM2Unused);
    EXPECT_EQ(on<TRadioGroup>("RadioGroup2")->itemIndex(), 1);
    EXPECT_FALSE(checked("CheckBox19"));
    EXPECT_FALSE(checked("K1_check_CheckBox"));
    EXPECT_TRUE(checked("K3_check_CheckBox"));
    EXPECT_TRUE(checked("CheckBox13")) << "switch boxes keep their state";
    // The editor's rules did not run: that is the restore's part.
    EXPECT_EQ(on<QGroupBox>("M2_GroupBox")->title(), QStringLiteral("M2"));
}

TEST_F(Qv4mPagesTest, BoardGenerationTwoShowsTheTestLineAndAdc) {
    auto visible = [this](const char* name) { return on<QWidget>(name)->isVisibleTo(timesTab); };
    EXPECT_FALSE(visible("GroupBox7"));
    EXPECT_FALSE(visible("AdcGroupBox"));
    EXPECT_TRUE(visible("VoltLowTestMotorEdit"));
    EXPECT_TRUE(visible("Label19"));

    Relcon4->bVers = 0x21;
    Relcon4->rVoltOpora = BoardVoltOpora(Relcon4->bVers);
    pages->prSetBoardLayout();
    EXPECT_TRUE(visible("GroupBox7"));
    EXPECT_TRUE(visible("AdcGroupBox"));
    EXPECT_FALSE(visible("VoltLowTestMotorEdit"));
    EXPECT_FALSE(visible("Label19"));

    TParamRegs regs{};
    regs[bVoltRef] = 351;
    regs[wTest_Lvl_DO] = 481;
    regs[cVolt_Lvl_L] = 328;
    setText("VoltLowTestMotorEdit", QStringLiteral("keep"));
    pages->prShowParamRegs(regs);
    EXPECT_EQ(text("VoltOporaEdit"), FormatVolts(351 * 3.63 / 255));
    EXPECT_EQ(text("Edit1"), FormatVolts(2.35));
    EXPECT_EQ(text("Edit2"), FormatVolts(1.60));
    EXPECT_EQ(text("VoltLowTestMotorEdit"), QStringLiteral("keep"));

    setText("VoltOporaEdit", QStringLiteral("5.00"));
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    EXPECT_EQ(mParamRegs[wTest_Lvl_DO], 481);
    EXPECT_EQ(mParamRegs[cVolt_Lvl_L], 328);
    EXPECT_EQ(mParamRegs[bVoltRef], 351);
}

TEST_F(Qv4mPagesTest, ModeWordsRestoreTheEditor) {
    stepCombo("MainModeComboBox", -1);
    clickItem("RadioGroupOrAnd_M1", kOrAndOr);
    click("DopIfAfterTwaitM1CheckBox");
    click("DopIfAfterTwaitM1ToggleSwitch");
    clickItem("Tmin6ModeM1RadioGroup", kStopByTmin6);
    ASSERT_TRUE(pages->prPageToRegs(QStringLiteral("no_name"), false, false));
    const TModeEditor saved = pages->ModePage->ReadEditor();
    const TModeWords words = ModeWordsOf(*Relcon4);
    const std::uint16_t flagMode1 = mParamRegs[wFlag_Mode_1];

    // Scramble the page, then restore it from the words as a read or load does.
    stepCombo("MainModeComboBox", 1);
    click("DopIfAfterTwaitM1CheckBox");
    clickItem("RadioGroupOrAnd_M1", kOrAndAnd);
    SetModeWords(*Relcon4, words);
    {
        TEditorQuiet quiet(*Relcon4);
        on<QComboBox>("MainModeComboBox")->setCurrentIndex(kModeM2Unused);
        pages->ModePage->prRestoreModeEditor(flagMode1);
    }
    const TModeEditor back = pages->ModePage->ReadEditor();
    EXPECT_EQ(qv4mtest::Values(back.m1), qv4mtest::Values(saved.m1));
    EXPECT_EQ(qv4mtest::Values(back.m2), qv4mtest::Values(saved.m2));
    EXPECT_EQ(back.m2Caption, QStringLiteral("M2 - не активен"));
}
