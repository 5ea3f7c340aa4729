// Runs a piece of the test in a forked copy of the test process, under
// limits the test itself must not live with: a cap on file size, another
// user, a kill at an unknown moment. Only the calling thread lives on in the
// child; it must not wait for the event loop.
#pragma once

#include <QByteArray>
#include <chrono>
#include <functional>

namespace files_test {

struct TChildLimits {
    // Largest file the child may write, in bytes; negative: no limit.
    long long fileSizeLimit = -1;
    // When the limit is hit: true, the write fails with EFBIG (a full disk);
    // false, the child is killed on the spot by SIGXFSZ.
    bool writeFailsAtLimit = true;
    // A root child gives up its rights, so folder permissions hold for it.
    bool dropRoot = false;
};

struct TChildEnd {
    bool exited = false; // ended by _exit, with code
    int code = -1;
    int signal = 0; // the signal that ended it otherwise
    QByteArray report;
};

// Runs body in a child and returns how it ended and what body returned.
TChildEnd RunInChild(const std::function<QByteArray()>& body, const TChildLimits& limits = {});

// Starts body looping in a child, waits until it runs, lets it go on for the
// given time and kills it with SIGKILL. True when the child was still running.
bool KillWhileLooping(const std::function<void(int round)>& body, std::chrono::microseconds after);

// True when the user the tests run as ignores folder permissions.
bool RunningAsRoot();

} // namespace files_test
