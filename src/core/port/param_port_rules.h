// The exchange parameters dialog's rules over plain values: the presets its
// activation brings the settings to, and the clamps of "Принять".
#pragma once

#include <QString>

inline constexpr int kMinTimeOut = 20;
inline constexpr int kMaxTimeOut = 30000;
inline constexpr int kMinManualPause = 101;
inline constexpr int kMaxManualPause = 30000;
// The item "своя пауза" of the pause presets.
inline constexpr int kManualPauseItem = 4;
inline constexpr int kPauseItems = 5;
inline constexpr int kAttemptItems = 7;

// A setting brought to one of the dialog's items.
struct TItemChoice {
    int value;
    int item;
};

// The preset a pause is brought to at activation; the manual item keeps the value.
TItemChoice PausePresetFor(int pause);
// What the manual pause edit shows for a pause at activation.
int ManualPauseShown(int pause);
// The item an attempt count is brought to at activation.
TItemChoice AttemptsItemFor(int count);

// The pause a preset item puts into the manual pause edit when clicked.
int PauseOfItem(int item);
// Leading blanks skipped, an optional sign, then the digits up to the first
// other character; no digits give 0. Saturates instead of overflowing.
int LeadingWholeNumber(const QString& text);

// The values "Принять" stores.
int AcceptedTimeOut(const QString& text);
int AcceptedPause(int item, const QString& manualText);
int AcceptedAttempts(int item);
