#include "editor_fixtures.h"

#include "devices/qv4m/mode_editor.h"

#include <gtest/gtest.h>

using namespace qv4mtest;

namespace {

// The M1 matrix of the worked example: main K1 and O+ ("И"), Stop on K1, O+,
// Z+, toggles On for K1 and Z+, start boxes K1, O+, K3, C3 start and Stop.
TChannelControls exampleM1() {
    TChannelControls ch;
    ch.main1.index = msK1;
    ch.main2.index = msOp;
    ch.orAnd.index = kOrAndOr; // as the restore leaves it before the radio groups are set
    ch.stopVariant.index = kStopBySet;
    ch.activateT240.checked = ch.activateTend.checked = true;
    for (int s : {msK1, msOp, msK3, msC3})
        ch.start[s].checked = true;
    for (int s : {msK1, msOp, msZp, msC3})
        ch.stop[s].checked = true;
    ch.toggle[msK1].checked = ch.toggle[msZp].checked = true;
    return ch;
}

// The words carry no level for a signal that is only a further start
// condition, so such a toggle is left out of the comparison.
TModeEditor carried(TModeEditor ed) {
    for (TChannelControls* ch : {&ed.m1, &ed.m2})
        for (int s = 0; s < kMainSignals; ++s)
            if (!ch->stop[s].checked && ch->main1.index != s && ch->main2.index != s)
                ch->toggle[s].checked = false;
    return ed;
}

} // namespace

TEST(ModeWords, WorkedExamplePacksToTheHandCheckedWords) {
    const TChannelWords w = PackChannel(exampleM1());
    EXPECT_EQ(w.V1, 0x0001);
    EXPECT_EQ(w.S5, 0x0001);
    EXPECT_EQ(w.V2, 0x1000);
    EXPECT_EQ(w.S6, 0x0000);
    EXPECT_EQ(w.V4, 0x0004);
    EXPECT_EQ(w.V5, 0x2000);
    EXPECT_EQ(w.S3, 0x2000);
    EXPECT_EQ(w.V3, 0x0040);
    EXPECT_EQ(w.S4, 0x0000);
    EXPECT_EQ(w.flagWork, 0x073C);
}

TEST(ModeWords, WorkedExampleUnpacksToTheSameMatrix) {
    TModeEditor ed;
    ed.m1.main1.index = msZp; // overwritten: the words name K1
    ed.m1.main2.index = msZp;
    ed.m1.toggle[msC3].checked = true; // cleared: the words hold it Off
    ed.m1.orAnd.index = kOrAndOr;
    TModeWords words;
    words.a = PackChannel(exampleM1());
    UnpackModeWords(words, ed);
    EXPECT_EQ(Values(ed.m1), Values(exampleM1()));
}

TEST(ModeWords, LaidOutMatrixPacksToTheHandCheckedWords) {
    TModeEditor ed = LaidOutEditor();
    ApplyMainMode(ed);
    const TModeWords w = PackModeWords(ed);
    const TChannelWords m1{0x053C, 0x0001, 0x1000, 0x0040, 0x2004, 0, 0, 0, 0x0001, 0x1000};
    const TChannelWords m2{0x051C, 0x0004, 0x2000, 0x0010, 0x1001, 0, 0, 0, 0x0004, 0x2000};
    EXPECT_EQ(w.a, m1);
    EXPECT_EQ(w.b, m2);
    const auto array = w.toArray();
    EXPECT_EQ(array[0], 0x053C);
    EXPECT_EQ(array[1], 0x051C);
    EXPECT_EQ(array[11], 0x0004); // wTempV1b
    EXPECT_EQ(array[19], 0x2000); // wTempS6b
    EXPECT_EQ(TModeWords::fromArray(array), w);
}

TEST(ModeWords, BothCStopsPackBothBitsAndRestoreOnlyC3) {
    TChannelControls ch;
    ch.main1.index = ch.main2.index = -1;
    ch.stopVariant.index = kStopBySet;
    ch.stop[msC1].checked = ch.stop[msC3].checked = true;
    ch.toggle[msC1].checked = ch.toggle[msC3].checked = true;
    EXPECT_EQ(PackChannel(ch).flagWork, 0x0030);
    ch.toggle[msC1].checked = false;
    EXPECT_EQ(PackChannel(ch).flagWork, 0x0430);

    TModeEditor ed;
    UnpackModeWords({PackChannel(ch), {}}, ed);
    EXPECT_FALSE(ed.m1.stop[msC1].checked);
    EXPECT_TRUE(ed.m1.stop[msC3].checked);
    EXPECT_TRUE(ed.m1.toggle[msC3].checked);
}

TEST(ModeWords, MainConditionsShareTheirStopBit) {
    TChannelControls ch;
    ch.main1.index = msK1;
    ch.main2.index = msK3;
    ch.start[msK1].checked = ch.start[msK3].checked = true;
    ch.stop[msK1].checked = true;
    const TChannelWords w = PackChannel(ch);
    EXPECT_EQ(w.flagWork, 0x0102); // main in Stop; Stop variant item 0 is "Режим T_min6"
    TModeEditor ed;
    UnpackModeWords({w, {}}, ed);
    EXPECT_TRUE(ed.m1.stop[msK1].checked);
    EXPECT_TRUE(ed.m1.stop[msK3].checked);
}

TEST(ModeWords, SignalThatIsAlsoAFurtherConditionIsNotMain) {
    TChannelWords w;
    w.V1 = 0x0004;
    w.V4 = 0x0004;
    w.V2 = 0x2000;
    TModeEditor ed;
    ed.m1.main1.index = msOp;
    UnpackModeWords({w, {}}, ed);
    EXPECT_EQ(ed.m1.main1.index, msOp); // kept: no usable bit
    EXPECT_EQ(ed.m1.main2.index, msZp);
    EXPECT_TRUE(ed.m1.start[msK3].checked);
    EXPECT_TRUE(ed.m1.start[msZp].checked);
}

TEST(ModeWords, PackThenRestoreGivesTheSameControlsInEveryMode) {
    for (int mode : {kModeM2Unused, kModeIndependent, kModeM2AfterM1}) {
        for (int variant : {kStopByTmin6, kStopBySet}) {
            for (int orAnd : {kOrAndSingle, kOrAndAnd, kOrAndOr}) {
                TModeEditor ed = LaidOutEditor();
                ed.mainMode = mode;
                ed.m1.stopVariant.index = ed.m2.stopVariant.index = variant;
                ed.m1.orAnd.index = ed.m2.orAnd.index = orAnd;
                ed.m1.activateTwait.checked = ed.m1.dopIf.checked = true;
                ed.m2.dopToggle.checked = true;
                ApplyMainMode(ed);
                MirrorToggles(ed);

                const TModeWords words = PackModeWords(ed);
                std::uint16_t flagMode1 = 0;
                if (ed.m1.orAnd.index == kOrAndOr)
                    flagMode1 |= 0x0020;
                if (ed.m2.orAnd.index == kOrAndOr)
                    flagMode1 |= 0x0040;

                TModeEditor back = LaidOutEditor();
                back.mainMode = mode;
                for (TChannelControls* ch : {&back.m1, &back.m2})
                    for (int s = 0; s < kMatrixRows; ++s)
                        ch->start[s].checked = ch->toggle[s].checked = ch->stop[s].checked = true;
                RestoreModeEditor(words, flagMode1, back);

                const std::string where = "mode " + std::to_string(mode) + " variant " +
                                          std::to_string(variant) + " orAnd " +
                                          std::to_string(orAnd);
                EXPECT_EQ(Values(back.m1), Values(carried(ed).m1)) << where;
                EXPECT_EQ(Values(back.m2), Values(carried(ed).m2)) << where;
                EXPECT_EQ(PackModeWords(back), words) << where;
            }
        }
    }
}
