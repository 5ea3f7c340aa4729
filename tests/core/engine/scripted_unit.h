// A unit played on the master side of a pseudo-terminal whose slave is
// registered in the port map as a COM port. It follows a script: for each
// request it reads the expected number of bytes, then answers, keeps silent,
// or sends bytes late as a slow unit would.
#pragma once

#include "platform/pty.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace enginetest {

using Bytes = std::vector<std::uint8_t>;

struct UnitStep {
    std::size_t requestLength = 0;
    Bytes reply; // empty: no answer
    int replyDelayMs = 0;
    Bytes late; // sent lateDelayMs after the request, after the reply if any
    int lateDelayMs = 0;
};

// Steps for the common cases.
inline UnitStep Answer(std::size_t requestLength, Bytes reply) {
    UnitStep step;
    step.requestLength = requestLength;
    step.reply = std::move(reply);
    return step;
}
inline UnitStep Silence(std::size_t requestLength) {
    return Answer(requestLength, {});
}
// No answer in time: the bytes come lateMs after the request.
inline UnitStep LateAnswer(std::size_t requestLength, Bytes late, int lateMs) {
    UnitStep step = Silence(requestLength);
    step.late = std::move(late);
    step.lateDelayMs = lateMs;
    return step;
}

class ScriptedUnit {
public:
    explicit ScriptedUnit(int comNumber = 7);
    ~ScriptedUnit();
    ScriptedUnit(const ScriptedUnit&) = delete;
    ScriptedUnit& operator=(const ScriptedUnit&) = delete;

    bool ok() const { return ok_; }
    QString comName() const { return comName_; }
    platform::PseudoTerminal& pty() { return pty_; }

    // Plays the steps in order on a thread of its own; then records what else comes.
    void start(std::vector<UnitStep> steps);
    // Waits for the script to be played through (false after timeoutMs).
    bool finished(int timeoutMs) const;
    // The requests as they came, one per step played.
    std::vector<Bytes> requests() const;
    // Bytes that came after the script was played through.
    Bytes stray() const;

private:
    void run(std::vector<UnitStep> steps);
    // Reads until count bytes are in or the unit is stopped.
    Bytes take(std::size_t count);
    void sleepMs(int ms) const;

    platform::PseudoTerminal pty_;
    QString comName_;
    QString link_;
    bool ok_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    mutable std::mutex mutex_;
    std::vector<Bytes> requests_;
    Bytes stray_;
    std::thread thread_;
};

} // namespace enginetest
