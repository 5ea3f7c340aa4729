#include "scripted_unit.h"

#include "platform/port_map.h"
#include "platform/user_folders.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <chrono>

namespace enginetest {

namespace {
constexpr int kPollMs = 5;
}

ScriptedUnit::ScriptedUnit(int comNumber) : comName_(QStringLiteral("COM%1").arg(comNumber)) {
    // Only the explicit entry counts, whatever serial hardware the machine has.
    platform::SetSysfsRoot(testenv::TempRoot() + QStringLiteral("/no-sysfs"));
#ifdef _WIN32
    // The pair's program side is a COM port of the system's own.
    ok_ = pty_.open();
    comName_ = pty_.slavePath();
#else
    QDir().mkpath(platform::PortsFolder());
    link_ = platform::PortsFolder() + QLatin1Char('/') + comName_;
    QFile::remove(link_);
    ok_ = pty_.open() && QFile::link(pty_.slavePath(), link_);
#endif
}

ScriptedUnit::~ScriptedUnit() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    QFile::remove(link_);
    platform::SetSysfsRoot({});
}

void ScriptedUnit::start(std::vector<UnitStep> steps) {
    thread_ = std::thread([this, steps = std::move(steps)]() mutable { run(std::move(steps)); });
}

bool ScriptedUnit::finished(int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done_) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::vector<Bytes> ScriptedUnit::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

Bytes ScriptedUnit::stray() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stray_;
}

Bytes ScriptedUnit::take(std::size_t count) {
    Bytes got;
    while (!stop_ && got.size() < count)
        if (pty_.read(got, kPollMs, count - got.size()) < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    return got;
}

void ScriptedUnit::sleepMs(int ms) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stop_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void ScriptedUnit::run(std::vector<UnitStep> steps) {
    for (const UnitStep& step : steps) {
        Bytes request = take(step.requestLength);
        if (stop_)
            break;
        const auto received = std::chrono::steady_clock::now();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(std::move(request));
        }
        if (!step.reply.empty()) {
            sleepMs(step.replyDelayMs);
            pty_.write(step.reply);
        }
        if (!step.late.empty()) {
            const auto due = received + std::chrono::milliseconds(step.lateDelayMs);
            while (!stop_ && std::chrono::steady_clock::now() < due)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            pty_.write(step.late);
        }
    }
    done_ = true;
    while (!stop_) {
        Bytes more;
        const int n = pty_.read(more, kPollMs);
        if (n < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        if (n > 0) {
            std::lock_guard<std::mutex> lock(mutex_);
            stray_.insert(stray_.end(), more.begin(), more.end());
        }
    }
}

} // namespace enginetest
