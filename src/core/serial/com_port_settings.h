// The four settings groups of the serial port component. Each belongs to one
// port and applies itself to the open port when a value changes.
#pragma once

#include "serial/com_port_types.h"

#include <cstdint>

class TCustomComPortD;

// Stores value; true when it differs from what was there.
template <typename T> bool StoreChanged(T& field, T value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

class TComBufferD {
public:
    explicit TComBufferD(TCustomComPortD* port) : FComPort(port) {}
    std::int32_t InputSize() const { return FInputSize; }
    std::int32_t OutputSize() const { return FOutputSize; }
    // An odd size is stored one lower.
    void SetInputSize(std::int32_t value);
    void SetOutputSize(std::int32_t value);
    void Assign(const TComBufferD& source);

private:
    friend class TCustomComPortD;
    TCustomComPortD* FComPort;
    std::int32_t FInputSize = 48;
    std::int32_t FOutputSize = 0;
};

class TComTimeoutsD {
public:
    explicit TComTimeoutsD(TCustomComPortD* port) : FComPort(port) {}
    std::int32_t ReadInterval() const { return FReadInterval; }
    std::int32_t ReadTotalMultiplier() const { return FReadTotalM; }
    std::int32_t ReadTotalConstant() const { return FReadTotalC; }
    std::int32_t WriteTotalMultiplier() const { return FWriteTotalM; }
    std::int32_t WriteTotalConstant() const { return FWriteTotalC; }
    std::int32_t Write1Wait2() const { return FWrite1Wait2; }
    std::int32_t Write2WaitN() const { return FWrite2WaitN; }
    std::int32_t ReadTimeOut() const { return FReadTimeOut; }
    std::int32_t WaitTimeAfterSending() const { return FWaitTimeAfterSending; }
    std::int32_t WaitTimePrevSending() const { return FWaitTimePrevSending; }

    // These five are the driver's time-outs and are applied to an open port.
    void SetReadInterval(std::int32_t value) { Change(FReadInterval, value); }
    void SetReadTotalMultiplier(std::int32_t value) { Change(FReadTotalM, value); }
    void SetReadTotalConstant(std::int32_t value) { Change(FReadTotalC, value); }
    void SetWriteTotalMultiplier(std::int32_t value) { Change(FWriteTotalM, value); }
    void SetWriteTotalConstant(std::int32_t value) { Change(FWriteTotalC, value); }
    // The pacing values are read by each send and read call.
    void SetWrite1Wait2(std::int32_t value) { FWrite1Wait2 = value; }
    void SetWrite2WaitN(std::int32_t value) { FWrite2WaitN = value; }
    void SetReadTimeOut(std::int32_t value) { FReadTimeOut = value; }
    void SetWaitTimeAfterSending(std::int32_t value) { FWaitTimeAfterSending = value; }
    void SetWaitTimePrevSending(std::int32_t value) { FWaitTimePrevSending = value; }
    void Assign(const TComTimeoutsD& source);

private:
    void Change(std::int32_t& field, std::int32_t value) {
        if (StoreChanged(field, value))
            Changed();
    }
    void Changed();

    TCustomComPortD* FComPort;
    std::int32_t FReadInterval = 0;
    std::int32_t FReadTotalM = 0;
    std::int32_t FReadTotalC = 1;
    std::int32_t FWriteTotalM = 100;
    std::int32_t FWriteTotalC = 1000;
    std::int32_t FWrite1Wait2 = 15;
    std::int32_t FWrite2WaitN = 2;
    std::int32_t FReadTimeOut = 50;
    std::int32_t FWaitTimeAfterSending = 0;
    std::int32_t FWaitTimePrevSending = 50;
};

class TComFlowControlD {
public:
    explicit TComFlowControlD(TCustomComPortD* port) : FComPort(port) {}
    bool OutCTSFlow() const { return FOutCTSFlow; }
    bool OutDSRFlow() const { return FOutDSRFlow; }
    TDTRFlowControl ControlDTR() const { return FControlDTR; }
    TRTSFlowControl ControlRTS() const { return FControlRTS; }
    bool DTRstatus() const { return FDTRstatus; }
    bool RTSstatus() const { return FRTSstatus; }
    bool XonXoffOut() const { return FXonXoffOut; }
    bool XonXoffIn() const { return FXonXoffIn; }
    bool DSRSensitivity() const { return FDSRSensitivity; }
    bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
    std::uint8_t XonChar() const { return FXonChar; }
    std::uint8_t XoffChar() const { return FXoffChar; }
    TFlowControl FlowControl() const;

    void SetOutCTSFlow(bool value) { Change(FOutCTSFlow, value); }
    void SetOutDSRFlow(bool value) { Change(FOutDSRFlow, value); }
    void SetControlDTR(TDTRFlowControl value) { Change(FControlDTR, value); }
    void SetControlRTS(TRTSFlowControl value) { Change(FControlRTS, value); }
    void SetDTRstatus(bool value) { Change(FDTRstatus, value); }
    void SetRTSstatus(bool value) { Change(FRTSstatus, value); }
    void SetXonXoffOut(bool value) { Change(FXonXoffOut, value); }
    void SetXonXoffIn(bool value) { Change(FXonXoffIn, value); }
    void SetDSRSensitivity(bool value) { Change(FDSRSensitivity, value); }
    void SetTxContinueOnXoff(bool value) { Change(FTxContinueOnXoff, value); }
    void SetXonChar(std::uint8_t value) { Change(FXonChar, value); }
    void SetXoffChar(std::uint8_t value) { Change(FXoffChar, value); }
    void SetFlowControl(TFlowControl value);
    void Assign(const TComFlowControlD& source);

private:
    friend class TCustomComPortD;
    template <typename T> void Change(T& field, T value) {
        if (StoreChanged(field, value))
            Changed();
    }
    void Changed();

    TCustomComPortD* FComPort;
    bool FOutCTSFlow = false;
    bool FOutDSRFlow = false;
    TDTRFlowControl FControlDTR = dtrDisable;
    TRTSFlowControl FControlRTS = rtsDisable;
    bool FDTRstatus = false;
    bool FRTSstatus = false;
    bool FXonXoffOut = false;
    bool FXonXoffIn = false;
    bool FDSRSensitivity = false;
    bool FTxContinueOnXoff = false;
    std::uint8_t FXonChar = 17;
    std::uint8_t FXoffChar = 19;
};

class TComParityD {
public:
    explicit TComParityD(TCustomComPortD* port) : FComPort(port) {}
    TParityBits Bits() const { return FBits; }
    bool Check() const { return FCheck; }
    bool Replace() const { return FReplace; }
    std::uint8_t ReplaceChar() const { return FReplaceChar; }

    void SetBits(TParityBits value) { Change(FBits, value); }
    void SetCheck(bool value) { Change(FCheck, value); }
    void SetReplace(bool value) { Change(FReplace, value); }
    void SetReplaceChar(std::uint8_t value) { Change(FReplaceChar, value); }
    void Assign(const TComParityD& source);

private:
    template <typename T> void Change(T& field, T value) {
        if (StoreChanged(field, value))
            Changed();
    }
    void Changed();

    TCustomComPortD* FComPort;
    TParityBits FBits = prNone;
    bool FCheck = false;
    bool FReplace = false;
    std::uint8_t FReplaceChar = 0;
};
