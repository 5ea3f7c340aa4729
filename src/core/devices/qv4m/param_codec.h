// The RO-4D parameter controls as plain data, and their conversion to the
// parameter register words and back.
#pragma once

#include "devices/qv4m/qv4m_registers.h"

#include <QString>
#include <cstdint>

struct TModeEditor;
class TShownCodes;

// The parameter controls of the two pages: edit texts and option states.
struct TQv4mParams {
    // Whole numbers.
    QString TimeSearchSinus, NumOfCycleReleSwitch, TimeAntidrebRele, TimeAntidrebADC,
        TimeAntidrebWarning, PeriodTimeTest, TimeMode3, T_off, T_min6a, T_min6b, T_240, T_end,
        T_wait;
    // Voltages.
    QString VoltOpora, VoltLowTestMotor, VoltHiBtn, VoltDnBtn, VoltLoBtn, VoltHiSig, VoltDnSig,
        VoltLoSig, Edit1, Edit2;
    // Options.
    bool CheckBox1 = false, NoWaitOffBtn = false, CheckBox16 = false, BlockFreeSignal = false,
         IfBadK3OffM1 = false, CheckBox19 = false;
    int RadioGroup2 = 0; // 0 "C1", 1 "C3"
    // The line-control boxes in the signal layout, board switches included.
    std::uint16_t LineChecks = 0;
};

// The reference voltage must be a positive number: every ADC code divides by it.
bool IsUsableVref(double vref);
QString UnusableVrefMessage();

// ADC code of a voltage for a reference voltage, and the reference code for
// the board's full scale; both rounded half to even, low 16 bits kept.
std::uint16_t AdcCode(double volts, double vref);
std::uint16_t RefCode(double vref, double rVoltOpora);
// The voltages a reference code and an ADC code stand for.
double RefVolts(std::uint16_t code, double rVoltOpora);
double CodeVolts(std::uint16_t code, double vrefShown);

// A whole-number entry as the unit keeps it: the low 16 bits, divided
// (without remainder) by the field's scale; and the stored word shown back.
std::uint16_t WholeWord(const QString& text, unsigned divisor = 1);
QString WholeText(std::uint16_t word, unsigned multiplier = 1);

// The signals the matrix or the dispatcher options use, as line-signal bits.
std::uint16_t UsedLineSignals(const TModeEditor& ed, bool checkBox19, int radioGroup2);
// Used lines are monitored; unused ones are dropped only when blockFree is set.
// Board switch bits stay as they are.
std::uint16_t AdjustLineChecks(std::uint16_t lineChecks, std::uint16_t used, bool blockFree);

// wFlag_Mode_1 from the options, the main mode and the two AND/OR groups.
std::uint16_t PackFlagMode1(const TQv4mParams& p, int mainMode, int orAndM1, int orAndM2);
// The options and the main mode from wFlag_Mode_1 (bits 5 and 6 are left to the editor).
void UnpackFlagMode1(std::uint16_t word, TQv4mParams& p, int& mainMode);

// Fills words 0 to 22 and 24 from the page (word 23 and words 25 to 32 keep
// their values). Returns false, leaving every word as it was, when the
// reference voltage is not usable. With shown, a voltage entry still showing
// what a read or a load gave it keeps the code it came from.
bool BuildParamWords(const TQv4mParams& p, std::uint16_t flagMode1, double rVoltOpora, bool board2x,
                     TParamRegs& regs, const TShownCodes* shown = nullptr);

// Puts the parameter words back into the page's values: numbers, the reference
// voltage, thresholds for the board's layout, options and the main mode from
// word 19, and the six line boxes from word 24. With shown, what the voltage
// entries now show and their codes replace what it held.
void ShowParamWords(const TParamRegs& regs, double rVoltOpora, bool board2x, TQv4mParams& p,
                    int& mainMode, TShownCodes* shown = nullptr);
