// The captions of the RI1-R page in one place: the page's labels, the
// differences of a compare and the protocol all name things with these.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The three time rows of a channel.
inline constexpr const char* kRi1rTimeRows[] = {"Ton", "T6sec", "Toff"};
// "Канал 1" … "Канал 3".
QString Ri1rChannelCaption(int channel);
// The relay pair each channel's fault boxes stand under: "K1-K2", "K3-K4", "K5-K6".
QString Ri1rPairCaption(int channel);

// The channel's radio groups and their items, and its two boxes.
QString Ri1rControlCaption(); // "Управление реле"
QString Ri1rControlItem(bool alternate);
QString Ri1rWorkCaption(); // "Работа реле"
QString Ri1rWorkItem(bool byTime);
QString Ri1rFaultCheckCaption(); // "контроль аварии"
QString Ri1rInverseCaption();    // "инверсный"

// Common settings.
QString Ri1rModesCaption();        // "Настройки режимов"
QString Ri1rDelayCaption();        // "Время до аварии, [ сек ]"
QString Ri1rFaultLatchCaption();   // CheckBox3
QString Ri1rInvertInputsCaption(); // CheckBox4
QString Ri1rThresholdsCaption();   // "Напряжения порогов"
// "Uацп", then the three thresholds "Umin", "Uсраб.", "Umax".
inline constexpr const char* kRi1rVoltCaptions[] = {"Uацп", "Umin", "Uсраб.", "Umax"};
// The page's Uацп until one is typed; the unit does not keep it.
inline constexpr double kRi1rDefaultVref = 5.25;
