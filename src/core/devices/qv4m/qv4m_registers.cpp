#include "devices/qv4m/qv4m_registers.h"

TParamRegs mParamRegs{};
TModeRegs mModeRegs{};
TExtraWords mExtraWords{};

void ResetQv4mRegisters() {
    mParamRegs.fill(0);
    mModeRegs.fill(0);
    mExtraWords.fill(0);
}
