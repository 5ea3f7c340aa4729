// Matrices shared by the mode editor tests.
#pragma once

#include "devices/qv4m/mode_editor.h"

#include <QString>
#include <sstream>
#include <string>

namespace qv4mtest {

// The matrix as the page lays it out, before the start-up rules.
inline TModeEditor LaidOutEditor() {
    TModeEditor ed;
    const auto rows = [](TChannelControls& ch, std::array<std::array<bool, 3>, kMatrixRows> r) {
        for (int s = 0; s < kMatrixRows; ++s) {
            ch.start[s].checked = r[s][0];
            ch.toggle[s].checked = r[s][1];
            ch.stop[s].checked = r[s][2];
        }
        ch.orAnd.index = kOrAndAnd;
        ch.stopVariant.index = kStopBySet;
        ch.activateT240.checked = true;
        ch.activateTend.checked = true;
    };
    rows(ed.m1, {{{1, 1, 1}, {1, 1, 1}, {1, 0, 0}, {1, 0, 0}, {0, 0, 0}, {1, 0, 1}}});
    rows(ed.m2, {{{1, 0, 0}, {1, 0, 0}, {1, 1, 1}, {1, 1, 1}, {1, 0, 1}, {0, 0, 0}}});
    ed.m1.main1.index = msK1;
    ed.m1.main2.index = msOp;
    ed.m2.main1.index = msK3;
    ed.m2.main2.index = msZp;
    ed.m1.start[msK1].enabled = ed.m1.start[msOp].enabled = false;
    ed.m2.start[msK3].enabled = ed.m2.start[msZp].enabled = false;
    ed.mainMode = kModeIndependent;
    ed.m2Caption = QStringLiteral("М2");
    return ed;
}

// What the user can see of a channel's values (checked states and items),
// one line per control, for readable comparisons.
inline std::string Values(const TChannelControls& ch) {
    static const char* const names[kMatrixRows] = {"K1", "O+", "K3", "Z+", "C1", "C3"};
    std::ostringstream out;
    for (int s = 0; s < kMatrixRows; ++s)
        out << names[s] << ' ' << ch.start[s].checked << ch.toggle[s].checked << ch.stop[s].checked
            << '\n';
    out << "main " << ch.main1.index << ' ' << ch.main2.index << " orAnd " << ch.orAnd.index
        << " stop " << ch.stopVariant.index << '\n'
        << "twait " << ch.activateTwait.checked << " dop " << ch.dopIf.checked
        << ch.dopToggle.checked << " tend " << ch.activateTend.checked << " t240 "
        << ch.activateT240.checked << '\n';
    return out.str();
}

} // namespace qv4mtest
