#include "sim_server.h"

#include "platform/clock.h"
#include "platform/pty.h"

#include <chrono>
#include <deque>
#include <thread>

namespace sim {

namespace {
constexpr int kPollMs = 10; // longest the thread sleeps before looking at requests again

// Signed distance between two wrapping millisecond ticks.
int ticksUntil(std::uint32_t due, std::uint32_t now) {
    return static_cast<int>(due - now);
}
} // namespace

SimServer::SimServer(std::unique_ptr<SimUnit> unit)
    : unit_(std::move(unit)), lineRate_(unit_ ? unit_->lineRate() : 0) {}

SimServer::~SimServer() {
    stop();
}

QString SimServer::start(int comNumber) {
    if (isRunning())
        return comName();
    error_.clear();
    pty_ = std::make_unique<platform::PseudoTerminal>();
    if (!pty_->open()) {
        error_ = QStringLiteral("cannot open a pseudo-terminal");
        return {};
    }
    {
        std::lock_guard<std::mutex> lock(requestMutex_);
        devicePath_ = pty_->slavePath();
    }
    if (!link_.create(pty_->slavePath(), comNumber, &error_)) {
        pty_->close();
        return {};
    }
    lineUp_ = true;
    stopping_ = false;
    thread_ = std::thread(&SimServer::serve, this);
    return link_.name();
}

void SimServer::stop() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    if (pty_)
        pty_->close();
    lineUp_ = false;
    link_.remove();
}

QString SimServer::devicePath() const {
    std::lock_guard<std::mutex> lock(requestMutex_);
    return devicePath_;
}

void SimServer::dropLine() {
    ask(Request::Drop);
}

bool SimServer::replug() {
    return ask(Request::Replug);
}

bool SimServer::ask(Request request) {
    std::unique_lock<std::mutex> lock(requestMutex_);
    if (!thread_.joinable())
        return perform(request);
    request_ = request;
    requestDone_.wait_for(lock, std::chrono::seconds(5),
                          [this] { return request_ == Request::None; });
    return requestResult_;
}

// Runs with requestMutex_ held.
bool SimServer::perform(Request request) {
    if (!pty_)
        return false;
    if (request == Request::Drop) {
        pty_->close();
        lineUp_ = false;
        return true;
    }
    if (request == Request::Replug) {
        auto fresh = std::make_unique<platform::PseudoTerminal>();
        if (!fresh->open() || !link_.retarget(fresh->slavePath()))
            return false;
        pty_ = std::move(fresh);
        devicePath_ = pty_->slavePath();
        lineUp_ = true;
        return true;
    }
    return false;
}

// With a line rate, byte k of a piece is handed over when it would have
// crossed the line: k + 1 byte times after the piece was due, one more at the
// start of a reply. Each byte waits for an absolute instant, so late wake-ups
// do not add up.
bool SimServer::send(const Bytes& bytes, bool replyStart) {
    if (lineRate_ <= 0)
        return pty_->write(bytes);
    using namespace std::chrono;
    const duration<double> byteTime(10.0 / lineRate_);
    const auto start = steady_clock::now();
    const std::size_t lead = replyStart ? 2 : 1;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        std::this_thread::sleep_until(
            start + duration_cast<steady_clock::duration>(byteTime * double(k + lead)));
        if (!pty_->write(&bytes[k], 1))
            return false;
    }
    return true;
}

void SimServer::serve() {
    // Each piece waits its delay after the previous one has actually gone out,
    // so a busy machine can make a gap longer but never shorter.
    std::deque<Outgoing> queue;
    std::uint32_t frontDue = 0;
    bool replyStart = false; // the queue's front piece answers a request
    while (!stopping_) {
        {
            std::lock_guard<std::mutex> lock(requestMutex_);
            if (request_ != Request::None) {
                requestResult_ = perform(request_);
                request_ = Request::None;
                queue.clear(); // replies in flight die with the old line
                requestDone_.notify_all();
            }
        }
        int wait = kPollMs;
        if (!queue.empty())
            wait = std::clamp(ticksUntil(frontDue, platform::TickCount()), 0, kPollMs);
        Bytes in;
        if (!lineUp_ || pty_->read(in, wait) < 0)
            platform::SleepMs(wait);
        if (!in.empty()) {
            if (trace_)
                trace_('<', in);
            std::vector<Outgoing> outs;
            {
                std::lock_guard<std::mutex> lock(unitMutex_);
                outs = unit_->feed(in, platform::TickCount());
            }
            if (queue.empty() && !outs.empty()) {
                replyStart = true;
                frontDue = platform::TickCount() +
                           static_cast<std::uint32_t>(std::max(0, outs.front().delayMs));
            }
            for (auto& o : outs)
                queue.push_back(std::move(o));
        }
        while (!queue.empty() && ticksUntil(frontDue, platform::TickCount()) <= 0) {
            Outgoing out = std::move(queue.front());
            queue.pop_front();
            if (out.dropLine) {
                std::lock_guard<std::mutex> lock(requestMutex_);
                perform(Request::Drop);
                queue.clear();
                break;
            }
            const bool sent = lineUp_ && send(out.bytes, replyStart);
            replyStart = false;
            if (sent && trace_)
                trace_('>', out.bytes);
            if (!queue.empty())
                frontDue = platform::TickCount() +
                           static_cast<std::uint32_t>(std::max(0, queue.front().delayMs));
        }
        pending_ = static_cast<int>(queue.size());
    }
    pending_ = 0;
}

} // namespace sim
