// The polling thread: it waits for bytes on the open port by the line's own
// readiness, so a quiet line costs no wake-ups, and while background
// reception is on has the GUI thread run the port's OnRxBuf, waiting until
// that has finished. While reception is off, the line has failed or bytes
// were left unread, it looks every kPeriodMs instead.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

class TCustomComPortD;

class TTimerThreadD {
public:
    static constexpr int kPeriodMs = 7;

    explicit TTimerThreadD(TCustomComPortD* port);
    // Stops the thread and waits for it. A call it has queued for the GUI
    // thread is cancelled, so this never waits on the GUI thread itself.
    ~TTimerThreadD();
    TTimerThreadD(const TTimerThreadD&) = delete;
    TTimerThreadD& operator=(const TTimerThreadD&) = delete;

    TCustomComPortD* const FComPort;
    // While true the thread does not look at the port.
    std::atomic<bool> fSuspend{true};

private:
    struct Shared;
    void Execute();
    // Suspended or the port closed: the port is not looked at.
    bool Idle() const;

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
