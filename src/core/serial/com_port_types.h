// Enumerations and sets of the serial port component.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

enum TBaudRate {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TStopBits { sb1Bit, sb1halfBits, sb2Bits };
enum TDataBits { db5Bits, db6Bits, db7Bits, db8Bits };
enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle, rtsManually };
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };
enum TComEvent {
    evRxChar,
    evTxEmpty,
    evRxFlag,
    evRing,
    evBreak,
    evCTS,
    evDSR,
    evError,
    evRLSD,
    evRx80Full
};
enum TComSignal { csCTS, csDSR, csRing, csRLSD };
enum TComError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
enum TComStateFlag { fsCTSHold, fsDSRHold, fsRLSDHold, fsXOffHold, fsXOffNow, fsEOF, fsTxim };
enum TSyncMethod { smThreadSync, smNone };
enum TOperationKind { okWrite, okRead };

// A set over one of the enumerations above (each has fewer than 32 values).
template <typename E> class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> items) {
        for (E e : items)
            bits_ |= Bit(e);
    }
    constexpr bool contains(E e) const { return bits_ & Bit(e); }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr void include(E e) { bits_ |= Bit(e); }
    constexpr void exclude(E e) { bits_ &= ~Bit(e); }
    constexpr void set(E e, bool on) { on ? include(e) : exclude(e); }
    constexpr std::uint32_t bits() const { return bits_; }
    constexpr bool operator==(const TEnumSet&) const = default;

private:
    static constexpr std::uint32_t Bit(E e) { return 1u << static_cast<unsigned>(e); }
    std::uint32_t bits_ = 0;
};

using TComEvents = TEnumSet<TComEvent>;
using TComSignals = TEnumSet<TComSignal>;
using TComErrors = TEnumSet<TComError>;
using TComStateFlags = TEnumSet<TComStateFlag>;

// Event handlers. The program assigns only OnRxBuf; the others keep the surface.
using TNotifyEvent = std::function<void()>;
using TComSignalEvent = std::function<void(bool OnOff)>;
using TComErrorEvent = std::function<void(TComErrors Errors)>;
