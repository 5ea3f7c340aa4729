// The data path of the serial port component: paced sending, the polled
// read with its time-out, and the single operations beneath them.
#include "serial/com_port.h"

#include "platform/clock.h"
#include "platform/thread_priority.h"
#include "serial/com_port_rules.h"

#include <algorithm>
#include <cstring>

namespace {

// The longest a single operation may take to complete.
constexpr int kCompletionLimitMs = 2000;
// Largest count ReadData may be asked for and the length-byte mode's goal.
constexpr std::uint16_t kMaxReply = 4096;

} // namespace

namespace {

// The slices of PumpedSleep, each ending at an instant counted from start,
// so the pause lasts its length however late each slice wakes up. The end
// of the pause is an instant the line sees (a byte follows it, or the reply
// is read after it), so it is met sharply.
void SlicedSleep(platform::MonoTime start, int ms) {
    platform::SleepMs(0);
    if (ms <= 0)
        return;
    const platform::MonoTime end = platform::MonoAfter(start, ms);
    for (int i = 1; i <= ms / 5; ++i) {
        platform::PumpMessages();
        const platform::MonoTime slice = platform::MonoAfter(start, 5 * i);
        if (slice < end)
            platform::SleepUntil(slice);
    }
    platform::WaitUntilSharp(end);
}

// A pause before a byte. The events due before the byte are served at the
// pause's start, so the time they take is part of the pause, not added to it.
void ByteGap(int ms) {
    const platform::MonoTime start = platform::MonoNow();
    platform::PumpMessages();
    SlicedSleep(start, ms);
}

} // namespace

void PumpedSleep(int ms) {
    SlicedSleep(platform::MonoNow(), ms);
}

// ---- single operations ----

std::int32_t TCustomComPortD::WriteAsync(const void* Buffer, std::int32_t Count, PAsync& AsyncPtr) {
    if (!AsyncPtr) {
        FLastError = 4;
        return 0;
    }
    TAsyncD& op = *AsyncPtr;
    const std::int32_t count = std::max<std::int32_t>(Count, 0);
    const auto* bytes = static_cast<const std::uint8_t*>(Buffer);
    op.Kind = okWrite;
    op.Data.assign(bytes, bytes + count);
    op.Size = count;
    op.Target = nullptr;
    op.Done = 0;
    op.Failed = false;
    serial::SerialDevice* dev = Device();
    const long n = dev ? dev->writeNow(op.Data.data(), op.Data.size()) : -1;
    if (n < 0) {
        op.Failed = true;
        FLastError = 2;
        return 0;
    }
    op.Done = static_cast<std::int32_t>(n);
    return op.Done;
}

std::int32_t TCustomComPortD::ReadAsync(void* Buffer, std::int32_t Count, PAsync& AsyncPtr) {
    if (!AsyncPtr) {
        FLastError = 4;
        return 0;
    }
    TAsyncD& op = *AsyncPtr;
    op.Kind = okRead;
    op.Data.clear();
    op.Size = std::max<std::int32_t>(Count, 0);
    op.Target = static_cast<std::uint8_t*>(Buffer);
    op.Done = 0;
    op.Failed = false;
    serial::SerialDevice* dev = Device();
    const long n = dev ? dev->readNow(op.Target, static_cast<std::size_t>(op.Size)) : -1;
    if (n < 0) {
        op.Failed = true;
        FLastError = 3;
        return 0;
    }
    op.Done = static_cast<std::int32_t>(n);
    return op.Done;
}

// A read ends when its bytes are in, or when the read time-outs (total
// multiplier x count + constant) have passed; with neither set it may wait
// up to the completion limit, and not finishing by then is a failure.
std::int32_t TCustomComPortD::ContinueRead(TAsyncD& op, int limitMs) {
    const std::uint32_t start = platform::TickCount();
    for (;;) {
        serial::SerialDevice* dev = Device();
        if (!dev)
            return -1;
        const long n =
            dev->readNow(op.Target + op.Done, static_cast<std::size_t>(op.Size - op.Done));
        if (n < 0)
            return -1;
        op.Done += static_cast<std::int32_t>(n);
        if (op.Done >= op.Size)
            return op.Done;
        const int left = limitMs - static_cast<int>(platform::TickCount() - start);
        if (left <= 0)
            return op.Done;
        if (dev->waitReadable(left) == serial::WaitResult::Failed)
            return -1;
    }
}

std::int32_t TCustomComPortD::WaitForAsync(PAsync& AsyncPtr) {
    if (!AsyncPtr || AsyncPtr->Failed) {
        FLastError = 4;
        return 0;
    }
    TAsyncD& op = *AsyncPtr;
    if (op.Kind == okWrite) {
        serial::SerialDevice* dev = Device();
        if (!dev) {
            FLastError = 4;
            return 0;
        }
        const auto r = dev->finishWrite(op.Data.data(), op.Data.size(),
                                        static_cast<std::size_t>(op.Done), kCompletionLimitMs);
        op.Done = static_cast<std::int32_t>(r.transferred);
        if (!r.complete) {
            op.Failed = true;
            FLastError = 4;
            return 0;
        }
        return op.Done;
    }
    const std::int64_t total =
        static_cast<std::int64_t>(FTimeouts.ReadTotalMultiplier()) * op.Size +
        FTimeouts.ReadTotalConstant();
    const bool bounded = total > 0 && total <= kCompletionLimitMs;
    const int limit = bounded ? static_cast<int>(total) : kCompletionLimitMs;
    const std::int32_t got = ContinueRead(op, limit);
    if (got < 0 || (!bounded && got < op.Size)) {
        op.Failed = true;
        FLastError = 4;
        return 0;
    }
    return got;
}

bool TCustomComPortD::IsAsyncCompleted(PAsync AsyncPtr) {
    if (!AsyncPtr)
        return false;
    if (AsyncPtr->Failed) {
        FLastError = 6;
        return false;
    }
    return AsyncPtr->Done >= AsyncPtr->Size;
}

// Every operation here completes or fails within its own call, so nothing is
// left pending to abort; a closed port fails as the purge would.
void TCustomComPortD::AbortAllAsync() {
    if (!Device())
        FLastError = 5;
}

std::int32_t TCustomComPortD::ReadWait(void* Buffer, std::int32_t Count) {
    TAsyncD op;
    PAsync ptr = &op;
    ReadAsync(Buffer, Count, ptr);
    if (op.Failed)
        return 0;
    return WaitForAsync(ptr);
}

std::int32_t TCustomComPortD::ReadManyBytes(std::uint8_t bNum) {
    return ReadWait(mMas.data(), bNum);
}

std::int32_t TCustomComPortD::ReadOneByte(std::uint8_t& bOneByte) {
    return ReadWait(&bOneByte, 1);
}

std::int32_t TCustomComPortD::Read(void* Buffer, std::int32_t Count) {
    return ReadWait(Buffer, Count);
}

// A pass of the read waits up to ms for input: the first byte to arrive ends
// the wait, so a reply is taken as soon as it is complete rather than on the
// next tick. A device that cannot wait (gone, or hung up) sleeps the pass out.
void TCustomComPortD::WaitForInput(int ms) {
    const platform::MonoTime start = platform::MonoNow();
    serial::SerialDevice* dev = Device();
    if (!dev || dev->waitReadable(ms) == serial::WaitResult::Failed)
        platform::SleepUntil(platform::MonoAfter(start, ms));
}

std::uint32_t TCustomComPortD::funDataIsOk() {
    serial::SerialDevice* dev = Device();
    const int n = dev ? dev->inputCount() : -1;
    return n > 0 ? static_cast<std::uint32_t>(n) : 0;
}

bool TCustomComPortD::LineFailed() {
    serial::SerialDevice* dev = Device();
    return dev && dev->waitReadable(0) == serial::WaitResult::Failed;
}

// ---- paced send ----

bool TCustomComPortD::SendString(PMasBytes PBuf, std::uint16_t wNumBytes) {
    FLastError = 0;
    // Bytes beyond the array do not exist; such a request is refused whole
    // rather than sent short or from outside the buffer.
    if (!PBuf || wNumBytes > PBuf->size()) {
        FFlagIsTransmitt = false;
        return false;
    }
    // From the pause before the request to the tail after it: on a busy
    // machine a thread at the normal priority wakes behind the other
    // programs' threads and hands its bytes over milliseconds late.
    const platform::RaisedThreadPriority raised;
    const int n = wNumBytes;
    const int w1 = FTimeouts.Write1Wait2();
    const int wN = FTimeouts.Write2WaitN();
    const std::uint32_t baud =
        BaudRateValue(FBaudRate, static_cast<std::uint32_t>(FCustomBaudRate));
    const TSendTail tail =
        SendTail(baud, BitsPerChar(FDataBits, FStopBits, FParity.Bits()), sWindowsVersion, w1, wN);

    // Each byte's turn to serve events comes before it, or at the start of
    // the pause or gap before it, so that the byte leaves as the pause ends.
    bool served = false;
    if (FTimeouts.WaitTimePrevSending() > 1) {
        ByteGap(FTimeouts.WaitTimePrevSending());
        served = true;
    }
    TAsyncD op;
    PAsync ptr = &op;
    const bool manualRts = FFlowControl.ControlRTS() == rtsManually;
    if (manualRts) {
        if (FLastError == 0)
            SetRTS(true);
        PumpedSleep(1);
    }
    bool sent = false;
    for (int i = 1; i <= n && FLastError == 0; ++i) {
        if (!served)
            platform::PumpMessages();
        served = false;
        // The events served may have resized the caller's array.
        if (static_cast<std::size_t>(i) > PBuf->size()) {
            sent = false;
            break;
        }
        const std::uint8_t byte = (*PBuf)[i - 1];
        std::int32_t transferred = WriteAsync(&byte, 1, ptr);
        if (FLastError == 0)
            transferred = WaitForAsync(ptr);
        sent = transferred == 1;
        if (i == 1 && n > 1 && w1 > 1) {
            ByteGap(w1);
            served = true;
        }
        if (i > 1 && i < n && wN > 0) {
            ByteGap(wN);
            served = true;
        }
        if (!sent)
            break;
    }
    cGlobStartTick = platform::TickCount();
    if (n == 1)
        PumpedSleep(tail.after1);
    else if (n > 1)
        PumpedSleep(tail.after2);
    if (manualRts && FLastError == 0)
        SetRTS(false);
    FFlagIsTransmitt = false;
    return sent && FLastError == 0;
}

// ---- timed read ----

bool TCustomComPortD::ReadData(PMasBytes PBuf, std::uint16_t& wLenBufIn,
                               std::uint16_t bNumByteOfLen, std::uint16_t bNumPlusBytes,
                               std::uint8_t bNumByteOfError, std::uint8_t bMaskError) {
    std::size_t count = 0;
    const std::uint16_t requested = wLenBufIn;
    if (FGetByteLen || bNumByteOfLen > 0)
        wLenBufIn = kMaxReply;
    const int timeout = FTimeouts.ReadTimeOut();
    int elapsed = 0;
    const std::uint32_t start = platform::TickCount();
    bool reading = true;
    while (reading && elapsed < timeout) {
        const platform::MonoTime passStart = platform::MonoNow();
        platform::PumpMessages();
        WaitForInput(1);
        const std::uint32_t waiting = funDataIsOk();
        // Never store past the caller's array: once it is full the rest stays
        // in the driver's queue and the read ends.
        const std::size_t capacity = PBuf ? PBuf->size() : 0;
        if (waiting > 0 && count >= capacity)
            break;
        std::int32_t got = 0;
        if (waiting > 0) {
            if (count == 0)
                FManyWait1byte = static_cast<std::int32_t>(platform::TickCount() - cGlobStartTick);
            const std::size_t want = std::min<std::size_t>({waiting, 255, capacity - count});
            got = ReadManyBytes(static_cast<std::uint8_t>(want));
        }
        if (got <= 0) {
            // Nothing came (or the device failed to hand over what it
            // announced): only then does the time-out advance.
            if (waiting > 0)
                platform::SleepUntil(platform::MonoAfter(passStart, 1));
            elapsed = static_cast<int>(platform::TickCount() - start);
            continue;
        }
        for (std::int32_t j = 0; j < got; ++j) {
            const std::size_t k = count;
            const std::uint8_t b = mMas[static_cast<std::size_t>(j)];
            (*PBuf)[count++] = b;
            if (bNumByteOfError > 0 && k == bNumByteOfError && (b & bMaskError) == 0) {
                FWaitReceive = false;
                wLenBufIn = requested;
                bNumByteOfLen = 0;
            }
            if ((FGetByteLen || bNumByteOfLen > 0) && k == bNumByteOfLen) {
                FWaitReceive = false;
                wLenBufIn = static_cast<std::uint16_t>(b + bNumPlusBytes);
            }
        }
        if (!FWaitReceive && count == wLenBufIn)
            reading = false;
        else if (FWaitReceive && count >= kMaxReply)
            reading = false;
    }
    wLenBufIn = static_cast<std::uint16_t>(count);
    FWaitReceive = false;
    return count > 0;
}

// ---- events without the event thread ----

void TCustomComPortD::WaitForEvent(TComEvents& Events, const std::atomic<bool>* StopEvent,
                                   std::int32_t Timeout) {
    if (FThreadCreated) {
        FLastError = 20;
        return;
    }
    const TComEvents wanted = Events;
    Events = {};
    const std::uint32_t start = platform::TickCount();
    for (;;) {
        serial::SerialDevice* dev = Device();
        const int in = dev ? dev->inputCount() : -1;
        const int out = dev ? dev->outputCount() : -1;
        if (in < 0 || out < 0) {
            FLastError = 21;
            return;
        }
        Events.set(evRxChar, wanted.contains(evRxChar) && in > 0);
        Events.set(evTxEmpty, wanted.contains(evTxEmpty) && out == 0);
        if (!Events.empty() || (StopEvent && *StopEvent) ||
            static_cast<std::int32_t>(platform::TickCount() - start) >= Timeout)
            return;
        platform::SleepMs(1);
    }
}
