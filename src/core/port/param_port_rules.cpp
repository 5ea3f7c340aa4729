#include "port/param_port_rules.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr std::array<int, 4> kPresetPauses{5, 15, 60, 100};
constexpr std::array<int, kAttemptItems> kAttempts{1, 3, 5, 10, 25, 50, 65535};

} // namespace

TItemChoice PausePresetFor(int pause) {
    for (int item = 0; item < int(kPresetPauses.size()); ++item)
        if (pause <= kPresetPauses[item])
            return {kPresetPauses[item], item};
    return {pause, kManualPauseItem};
}

int ManualPauseShown(int pause) {
    return std::min(pause, kMaxManualPause);
}

TItemChoice AttemptsItemFor(int count) {
    for (int item = 0; item < kAttemptItems - 1; ++item)
        if (count <= kAttempts[item])
            return {kAttempts[item], item};
    return {kAttempts.back(), kAttemptItems - 1};
}

int PauseOfItem(int item) {
    if (item >= 0 && item < int(kPresetPauses.size()))
        return kPresetPauses[item];
    return kMinManualPause;
}

int LeadingWholeNumber(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && text.at(pos) == QLatin1Char(' '))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
        negative = text.at(pos++) == QLatin1Char('-');
    constexpr long long kLimit = std::numeric_limits<int>::max();
    long long value = 0;
    for (;
         pos < text.size() && text.at(pos) >= QLatin1Char('0') && text.at(pos) <= QLatin1Char('9');
         ++pos)
        value = std::min(kLimit, value * 10 + (text.at(pos).unicode() - '0'));
    return int(negative ? -value : value);
}

int AcceptedTimeOut(const QString& text) {
    return std::clamp(LeadingWholeNumber(text), kMinTimeOut, kMaxTimeOut);
}

int AcceptedPause(int item, const QString& manualText) {
    if (item == kManualPauseItem)
        return std::clamp(LeadingWholeNumber(manualText), kMinManualPause, kMaxManualPause);
    if (item >= 0 && item < int(kPresetPauses.size()))
        return kPresetPauses[item];
    return 100;
}

int AcceptedAttempts(int item) {
    if (item < 0 || item >= kAttemptItems)
        item = 1;
    return kAttempts[item];
}
