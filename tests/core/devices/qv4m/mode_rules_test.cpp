#include "editor_fixtures.h"

#include "devices/qv4m/mode_editor.h"

#include <gtest/gtest.h>

using namespace qv4mtest;

namespace {

TModeEditor withMode(int mode) {
    TModeEditor ed = LaidOutEditor();
    ApplyMainMode(ed); // start-up
    ed.mainMode = mode;
    ApplyMainMode(ed);
    MirrorToggles(ed);
    return ed;
}

bool allM2Disabled(const TModeEditor& ed) {
    const TChannelControls& m2 = ed.m2;
    bool any = m2.main1.enabled || m2.main2.enabled || m2.orAnd.enabled || m2.stopVariant.enabled ||
               m2.activateTwait.enabled || m2.dopIf.enabled || m2.dopToggle.enabled ||
               m2.activateTend.enabled || m2.activateT240.enabled;
    for (int s = 0; s < kMatrixRows; ++s)
        any = any || m2.start[s].enabled || m2.toggle[s].enabled || m2.stop[s].enabled;
    return !any;
}

} // namespace

TEST(ModeRules, StartUpForcesTheMainConditionsOfBothChannels) {
    const TModeEditor ed = withMode(kModeIndependent);
    for (int s = 0; s < kMainSignals; ++s) {
        EXPECT_TRUE(ed.m1.start[s].checked && !ed.m1.start[s].enabled) << s;
        EXPECT_TRUE(ed.m2.start[s].checked && !ed.m2.start[s].enabled) << s;
    }
    EXPECT_EQ(ed.m2Caption, QStringLiteral("M2"));
    EXPECT_TRUE(ed.m2.tmin6EditEnabled);
    EXPECT_TRUE(ed.m2.main2.enabled);
}

TEST(ModeRules, ModeZeroDisablesM2AndFreesM1) {
    const TModeEditor ed = withMode(kModeM2Unused);
    EXPECT_TRUE(allM2Disabled(ed));
    EXPECT_FALSE(ed.m2.tmin6EditEnabled);
    EXPECT_EQ(ed.m2Caption, QStringLiteral("M2 - не активен"));
    // Only M1's own main conditions are forced now.
    EXPECT_FALSE(ed.m1.start[msK1].enabled);
    EXPECT_FALSE(ed.m1.start[msOp].enabled);
    EXPECT_TRUE(ed.m1.start[msK3].enabled);
    EXPECT_TRUE(ed.m1.start[msZp].enabled);
    for (const TBox& b : {ed.m1.start[msC1], ed.m1.start[msC3], ed.m1.stop[msC1], ed.m1.stop[msC3],
                          ed.m1.activateTend, ed.m1.activateT240})
        EXPECT_TRUE(b.enabled);
    EXPECT_TRUE(ed.m1.stopVariant.enabled);
    EXPECT_EQ(ed.m2.stopVariant.index, kStopByTmin6);
    EXPECT_FALSE(ed.m2.activateTend.checked || ed.m2.activateT240.checked);
    EXPECT_FALSE(ed.m2.start[msC1].checked || ed.m2.stop[msC1].checked);
    EXPECT_EQ(ed.m2.main1.index, msK1);
    EXPECT_EQ(ed.m2.main2.index, msOp);
}

TEST(ModeRules, ModeTwoMakesM2FollowM1) {
    const TModeEditor ed = withMode(kModeM2AfterM1);
    EXPECT_TRUE(allM2Disabled(ed));
    EXPECT_TRUE(ed.m2.tmin6EditEnabled);
    EXPECT_EQ(ed.m2Caption, QStringLiteral("M2 - не активен"));
    EXPECT_EQ(ed.m1.stopVariant.index, kStopByTmin6);
    EXPECT_FALSE(ed.m1.stopVariant.enabled);
    for (const TBox& b : {ed.m1.start[msC1], ed.m1.start[msC3], ed.m1.stop[msC1], ed.m1.stop[msC3],
                          ed.m1.activateTend, ed.m1.activateT240})
        EXPECT_FALSE(b.checked || b.enabled);
    for (int s = 0; s < kMainSignals; ++s) {
        EXPECT_FALSE(ed.m1.stop[s].enabled);
        EXPECT_EQ(ed.m1.stop[s].checked, ed.m1.start[s].checked);
        EXPECT_EQ(ed.m2.stop[s].checked, ed.m1.start[s].checked);
        EXPECT_EQ(ed.m2.start[s].checked, ed.m1.start[s].checked);
        EXPECT_EQ(ed.m2.toggle[s].checked, ed.m1.toggle[s].checked);
    }
    EXPECT_EQ(ed.m2.orAnd.index, ed.m1.orAnd.index);
}

TEST(ModeRules, SingleConditionCopiesTheFirstCombo) {
    TModeEditor ed = withMode(kModeIndependent);
    ed.m1.orAnd.index = kOrAndSingle;
    ApplyMainMode(ed);
    EXPECT_EQ(ed.m1.main2.index, msK1);
    EXPECT_FALSE(ed.m1.main2.enabled);
    // O+ is no main condition any more: its start box is free again.
    EXPECT_TRUE(ed.m1.start[msOp].enabled);
    ed.m1.orAnd.index = kOrAndAnd;
    ApplyMainMode(ed);
    EXPECT_TRUE(ed.m1.main2.enabled);
}

TEST(ModeRules, MirrorsOnlyWhenM2FollowsM1) {
    TModeEditor ed = withMode(kModeIndependent);
    ed.m1.start[msK3].checked = false;
    const TModeEditor before = ed;
    MirrorStartChecks(ed);
    MirrorToggles(ed);
    EXPECT_EQ(Values(ed.m2), Values(before.m2));
    EXPECT_EQ(Values(ed.m1), Values(before.m1));

    ed = withMode(kModeM2Unused);
    ed.m1.start[msK3].checked = true;
    ed.m1.toggle[msZp].checked = true;
    MirrorStartChecks(ed);
    MirrorToggles(ed);
    EXPECT_TRUE(ed.m1.stop[msK3].checked);
    EXPECT_TRUE(ed.m2.stop[msK3].checked);
    EXPECT_TRUE(ed.m2.start[msK3].checked);
    EXPECT_TRUE(ed.m2.toggle[msZp].checked);
}
