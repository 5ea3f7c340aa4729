// Holds the main window's busy flag (fBlockPressKey) for the run of one
// command and clears it however the command ends.
#pragma once

class TBusyGuard {
public:
    explicit TBusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TBusyGuard() { flag_ = false; }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
    bool& flag_;
};
