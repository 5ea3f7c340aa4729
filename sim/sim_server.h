// Runs one simulated unit on a new pseudo-terminal in a thread of its own,
// registered in the port map as COM<n> while it runs. End-to-end tests start
// one, point the program at the COM name, and look into the unit (what it
// was written, which faults to show) through unit().
#pragma once

#include "com_link.h"
#include "sim_unit.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {
class PseudoTerminal;
}

namespace sim {

// Locked access to the unit while the server runs; keep it short-lived.
template <class U> class UnitAccess {
public:
    UnitAccess(std::unique_lock<std::mutex> lock, U* unit) : lock_(std::move(lock)), unit_(unit) {}
    U* operator->() const { return unit_; }
    U& operator*() const { return *unit_; }
    explicit operator bool() const { return unit_ != nullptr; }

private:
    std::unique_lock<std::mutex> lock_;
    U* unit_;
};

class SimServer {
public:
    // Direction '<' for bytes received from the program, '>' for bytes sent.
    using Trace = std::function<void(char direction, const Bytes& bytes)>;

    explicit SimServer(std::unique_ptr<SimUnit> unit);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Opens a pseudo-terminal, links it as COM<comNumber> (0: the first free
    // number) and starts serving. Returns the COM name, empty on failure
    // (errorString() says why).
    QString start(int comNumber = 0);
    // Stops serving, closes the line and removes the link.
    void stop();
    // The line drops now, as when the adapter is pulled out: the program's
    // side sees a hang-up and the link is left pointing at a device that is gone.
    void dropLine();
    // A new line under the same COM name, as when the adapter is plugged back in.
    bool replug();

    bool isRunning() const { return thread_.joinable(); }
    bool lineUp() const { return lineUp_; }
    // No reply is waiting for its time to go out (a late one, a split's tail).
    bool quiet() const { return pending_ == 0; }
    QString comName() const { return link_.name(); }
    int comNumber() const { return link_.number(); }
    QString devicePath() const;
    QString linkPath() const { return link_.path(); }
    QString errorString() const { return error_; }

    // Called on the server's thread for every piece read or written; set before start().
    void setTrace(Trace trace) { trace_ = std::move(trace); }
    // Paces the replies as a serial line of this rate would (10 bits a byte):
    // each byte takes one byte time, and a reply starts one byte time late, as
    // the request's last byte still had to cross the line to the unit.
    // 0 sends every piece at once. The default is the unit's own (paced for
    // the ZI2-Z3 bench, at once for the others). Set before start().
    void setLineRate(int baud) { lineRate_ = baud; }

    template <class U = SimUnit> UnitAccess<U> unit() {
        std::unique_lock<std::mutex> lock(unitMutex_);
        return UnitAccess<U>(std::move(lock), dynamic_cast<U*>(unit_.get()));
    }

private:
    enum class Request { None, Drop, Replug };
    void serve();
    bool send(const Bytes& bytes, bool replyStart);
    bool perform(Request request);
    bool ask(Request request);

    std::unique_ptr<SimUnit> unit_;
    std::mutex unitMutex_;
    std::unique_ptr<platform::PseudoTerminal> pty_;
    ComLink link_;
    QString devicePath_;
    QString error_;
    Trace trace_;
    int lineRate_ = 0;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> lineUp_{false};
    std::atomic<int> pending_{0};

    // A request handed to the serving thread, and its result.
    mutable std::mutex requestMutex_;
    std::condition_variable requestDone_;
    Request request_ = Request::None;
    bool requestResult_ = false;
};

} // namespace sim
