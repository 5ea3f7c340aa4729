// The program-wide exchange variables that every device page fills and reads.
#pragma once

#include "exchange/frame.h"

#include <QString>
#include <array>
#include <cstdint>

inline constexpr int kNumChannels = 10;

struct TExchangeState {
    TMasBytes TxBuf;
    std::uint16_t TxLength = 0;
    TMasBytes RxBuf;
    std::uint16_t RxLength = 0;
    std::uint16_t RxExpected = 0;
    TMasBytes RxTailBuf;
    std::int32_t NumOfRepeat = 3;

    std::array<bool, kNumChannels> PortOpen{};
    std::array<QString, kNumChannels> PortName{};
    std::array<bool, kNumChannels> PortCrash{};
    // A reply of an earlier attempt may still be on its way on this channel
    // (see RunTransaction): answered exchanges look behind their reply.
    std::array<bool, kNumChannels> LineSuspect{};
    std::uint8_t PortFailCount = 0;

    // Exchanges asked for since the start, sent or not: tells whether a
    // command reached the line at all.
    std::uint32_t ExchangesAsked = 0;

    bool SendFailed = false;
    bool ReplyFailed = false;
    std::uint8_t AttemptsUsed = 0;

    TExchangeState() { Allocate(); }

    // The buffers keep their full size for the whole run, so a late caller
    // (a queued background read after closing) can never index a freed buffer.
    void Allocate() {
        TxBuf.assign(kTxBufSize, 0);
        RxBuf.assign(kRxBufSize, 0);
        RxTailBuf.assign(kRxTailBufSize, 0);
        TxLength = RxLength = RxExpected = 0;
        SendFailed = ReplyFailed = false;
        AttemptsUsed = 0;
    }
    // Closing: the buffers stay allocated, for the same reason, but hold nothing.
    void Release() { Allocate(); }
    void ResetChannels() {
        PortOpen.fill(false);
        PortCrash.fill(false);
        LineSuspect.fill(false);
        for (auto& name : PortName)
            name.clear();
    }
    // Back to the state of a fresh start; used by activation and by tests.
    void Reset() {
        Allocate();
        ResetChannels();
        NumOfRepeat = 3;
        PortFailCount = 0;
    }
};

extern TExchangeState ExchangeState;

// AppendCrc16 over ExchangeState.TxBuf and TxLength.
void AppendCrc16();
