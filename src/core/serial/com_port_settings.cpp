#include "serial/com_port_settings.h"

#include "serial/com_port.h"

// ---- TComBufferD ----

void TComBufferD::SetInputSize(std::int32_t value) {
    if (StoreChanged(FInputSize, value - value % 2))
        FComPort->ApplyBuffer();
}

void TComBufferD::SetOutputSize(std::int32_t value) {
    if (StoreChanged(FOutputSize, value - value % 2))
        FComPort->ApplyBuffer();
}

void TComBufferD::Assign(const TComBufferD& source) {
    FInputSize = source.FInputSize;
    FOutputSize = source.FOutputSize;
    FComPort->ApplyBuffer();
}

// ---- TComTimeoutsD ----

void TComTimeoutsD::Changed() {
    FComPort->ApplyTimeouts();
}

void TComTimeoutsD::Assign(const TComTimeoutsD& source) {
    TCustomComPortD* const port = FComPort;
    *this = source;
    FComPort = port;
    FComPort->ApplyTimeouts();
}

// ---- TComFlowControlD ----

void TComFlowControlD::Changed() {
    FComPort->ApplyLineSettings();
}

TFlowControl TComFlowControlD::FlowControl() const {
    if (FControlRTS == rtsHandshake && FOutCTSFlow && !FXonXoffIn && !FXonXoffOut)
        return fcHardware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut)
        return fcSoftware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && !FXonXoffIn && !FXonXoffOut)
        return fcNone;
    return fcCustom;
}

void TComFlowControlD::SetFlowControl(TFlowControl value) {
    if (value != fcCustom) {
        FDTRstatus = false;
        FRTSstatus = false;
        FOutCTSFlow = false;
        FXonXoffIn = false;
        FXonXoffOut = false;
        FControlRTS = rtsDisable;
    }
    if (value == fcHardware) {
        FControlRTS = rtsHandshake;
        FOutCTSFlow = true;
    } else if (value == fcSoftware) {
        FXonXoffIn = true;
        FXonXoffOut = true;
    }
    Changed();
}

void TComFlowControlD::Assign(const TComFlowControlD& source) {
    TCustomComPortD* const port = FComPort;
    *this = source;
    FComPort = port;
    Changed();
}

// ---- TComParityD ----

void TComParityD::Changed() {
    FComPort->ApplyLineSettings();
}

void TComParityD::Assign(const TComParityD& source) {
    TCustomComPortD* const port = FComPort;
    *this = source;
    FComPort = port;
    Changed();
}
