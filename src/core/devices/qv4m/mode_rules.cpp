// The rules that keep the M1/M2 matrix consistent while the user edits it.
#include "devices/qv4m/mode_editor.h"

namespace {

bool m2FollowsM1(int mode) {
    return mode == kModeM2Unused || mode == kModeM2AfterM1;
}

void setEnabled(std::initializer_list<TBox*> boxes, bool enabled) {
    for (TBox* box : boxes)
        box->enabled = enabled;
}

void clearAndSet(std::initializer_list<TBox*> boxes, bool enabled) {
    for (TBox* box : boxes) {
        box->checked = false;
        box->enabled = enabled;
    }
}

void enableMainStops(TChannelControls& ch, bool enabled) {
    for (int s = 0; s < kMainSignals; ++s)
        ch.stop[s].enabled = enabled;
}

// With "-" the second main condition is the first one and cannot be chosen.
void applySingleCondition(TChannelControls& ch, bool mayEnable) {
    if (ch.orAnd.index == kOrAndSingle) {
        ch.main2.index = ch.main1.index;
        ch.main2.enabled = false;
    } else {
        ch.main2.enabled = mayEnable;
    }
}

bool showsSignal(const TChannelControls& ch, int s) {
    return ch.main1.index == s || ch.main2.index == s;
}

} // namespace

QString M2InactiveCaption() {
    return QStringLiteral("M2 - не активен");
}
QString M2ActiveCaption() {
    return QStringLiteral("M2");
}

void EnableM2Controls(TModeEditor& ed, bool enabled, bool tmin6EditEnabled) {
    TChannelControls& m2 = ed.m2;
    m2.main1.enabled = enabled;
    m2.main2.enabled = enabled;
    m2.orAnd.enabled = enabled;
    for (int s = 0; s < kMatrixRows; ++s) {
        m2.start[s].enabled = enabled;
        m2.toggle[s].enabled = enabled;
        m2.stop[s].enabled = enabled;
    }
    m2.stopVariant.enabled = enabled;
    setEnabled({&m2.activateTwait, &m2.dopIf, &m2.dopToggle, &m2.activateTend, &m2.activateT240},
               enabled);
    m2.tmin6EditEnabled = tmin6EditEnabled;
}

void MirrorStartChecks(TModeEditor& ed) {
    if (!m2FollowsM1(ed.mainMode))
        return;
    for (int s = 0; s < kMainSignals; ++s) {
        const bool checked = ed.m1.start[s].checked;
        ed.m1.stop[s].checked = checked;
        ed.m2.stop[s].checked = checked;
        ed.m2.start[s].checked = checked;
    }
}

void MirrorToggles(TModeEditor& ed) {
    if (!m2FollowsM1(ed.mainMode))
        return;
    for (int s = 0; s < kMainSignals; ++s)
        ed.m2.toggle[s].checked = ed.m1.toggle[s].checked;
}

void ApplyMainMode(TModeEditor& ed) {
    const int mode = ed.mainMode;
    TChannelControls& m1 = ed.m1;
    TChannelControls& m2 = ed.m2;

    if (mode != kModeM2AfterM1)
        enableMainStops(m1, true);

    const bool follows = m2FollowsM1(mode);
    if (follows) {
        EnableM2Controls(ed, false, mode == kModeM2AfterM1);
        ed.m2Caption = M2InactiveCaption();
        if (mode == kModeM2AfterM1) {
            enableMainStops(m1, false);
            clearAndSet({&m1.start[msC1], &m1.start[msC3], &m1.stop[msC1], &m1.stop[msC3],
                         &m1.activateTend, &m1.activateT240},
                        false);
            m1.stopVariant = {kStopByTmin6, false};
        } else {
            setEnabled({&m1.start[msC1], &m1.start[msC3], &m1.stop[msC1], &m1.stop[msC3],
                        &m1.activateTend, &m1.activateT240},
                       true);
            m1.stopVariant.enabled = true;
        }
        m2.stopVariant = {kStopByTmin6, false};
        for (TBox* box : {&m2.start[msC1], &m2.start[msC3], &m2.stop[msC1], &m2.stop[msC3]})
            box->checked = false;
        m2.main1.index = m1.main1.index;
        m2.main2.index = m1.main2.index;
        m2.orAnd.index = m1.orAnd.index;
        m2.activateTend.checked = false;
        m2.activateT240.checked = false;
    } else {
        ed.m2Caption = M2ActiveCaption();
        EnableM2Controls(ed, true, true);
        setEnabled({&m1.start[msC1], &m1.start[msC3], &m1.stop[msC1], &m1.stop[msC3],
                    &m1.activateTend, &m1.activateT240},
                   true);
        m1.stopVariant.enabled = true;
        m2.stopVariant.enabled = true;
    }

    // A channel that follows M1 keeps its second combo disabled with the rest.
    applySingleCondition(m1, true);
    applySingleCondition(m2, !follows);

    for (int s = 0; s < kMainSignals; ++s)
        m1.start[s].enabled = true;
    // A main start condition is always a start condition too, in both channels.
    for (int s = 0; s < kMainSignals; ++s) {
        if (showsSignal(m1, s) || (mode == kModeIndependent && showsSignal(m2, s))) {
            m1.start[s] = {true, false};
            m2.start[s] = {true, false};
        }
    }

    if (mode == kModeM2AfterM1)
        MirrorStartChecks(ed);
}

void RestoreModeEditor(const TModeWords& words, std::uint16_t flagMode1, TModeEditor& ed) {
    ed.m1.orAnd.index = kOrAndOr;
    ed.m2.orAnd.index = kOrAndOr;
    UnpackModeWords(words, ed);
    ApplyMainMode(ed);
    const auto orAndFrom = [](bool orBit, const TChannelControls& ch) {
        if (orBit)
            return kOrAndOr;
        return ch.main1.index == ch.main2.index ? kOrAndSingle : kOrAndAnd;
    };
    ed.m1.orAnd.index = orAndFrom(flagMode1 & 0x0020, ed.m1);
    ed.m2.orAnd.index = orAndFrom(flagMode1 & 0x0040, ed.m2);
}
