// The polling thread: every 7 ms it looks whether bytes wait on the open
// port and, while background reception is on, has the GUI thread run the
// port's OnRxBuf, waiting until that has finished.
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

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
