#include "platform/fake_serial_device.h"

#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace serial {

namespace {
constexpr int kAnswerPollMs = 1;
}

// ---- FakeSerialLine ----

void FakeSerialLine::setOpenDelay(int ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    openDelayMs_ = ms;
}

void FakeSerialLine::refuseOpen(std::uint32_t code, const QString& reason) {
    std::lock_guard<std::mutex> lock(mutex_);
    refuseCode_ = code;
    refuseReason_ = reason;
}

void FakeSerialLine::dropAfter(long bytes, bool failAtStart) {
    std::lock_guard<std::mutex> lock(mutex_);
    dropAfter_ = bytes;
    failAtStart_ = failAtStart;
}

void FakeSerialLine::unplug() {
    std::lock_guard<std::mutex> lock(mutex_);
    unplugged_ = true;
    changed_.notify_all();
}

void FakeSerialLine::setModemLines(const ModemLines& lines) {
    std::lock_guard<std::mutex> lock(mutex_);
    modemLines_ = lines;
}

void FakeSerialLine::addReply(const std::vector<std::uint8_t>& trigger,
                              const std::vector<FakeChunk>& chunks, bool repeat) {
    std::lock_guard<std::mutex> lock(mutex_);
    rules_.push_back({trigger, chunks, repeat, false});
}

void FakeSerialLine::addReply(const std::vector<std::uint8_t>& trigger,
                              const std::vector<std::uint8_t>& bytes, int delayMs, bool repeat) {
    addReply(trigger, std::vector<FakeChunk>{{bytes, delayMs}}, repeat);
}

void FakeSerialLine::pushInput(const std::vector<std::uint8_t>& bytes, int delayMs) {
    std::lock_guard<std::mutex> lock(mutex_);
    schedule({{bytes, delayMs}});
}

void FakeSerialLine::schedule(const std::vector<FakeChunk>& chunks) {
    const std::uint32_t now = platform::TickCount();
    for (const FakeChunk& c : chunks)
        pending_.push_back({now + static_cast<std::uint32_t>(std::max(c.delayMs, 0)), c.bytes});
    changed_.notify_all();
}

void FakeSerialLine::deliverDue() {
    const std::uint32_t now = platform::TickCount();
    std::stable_sort(pending_.begin(), pending_.end(), [](const Pending& a, const Pending& b) {
        return static_cast<std::int32_t>(a.due - b.due) < 0;
    });
    auto it = pending_.begin();
    for (; it != pending_.end() && static_cast<std::int32_t>(now - it->due) >= 0; ++it)
        input_.insert(input_.end(), it->bytes.begin(), it->bytes.end());
    pending_.erase(pending_.begin(), it);
}

void FakeSerialLine::take(const std::uint8_t* data, std::size_t count) {
    const std::uint32_t now = platform::TickCount();
    written_.insert(written_.end(), data, data + count);
    writeTicks_.insert(writeTicks_.end(), count, now);
    writtenTotal_ += static_cast<long>(count);
    stream_.insert(stream_.end(), data, data + count);
    for (Rule& r : rules_) {
        if (r.used || r.trigger.empty() || stream_.size() < r.trigger.size())
            continue;
        if (!std::equal(r.trigger.rbegin(), r.trigger.rend(), stream_.rbegin()))
            continue;
        r.used = !r.repeat;
        stream_.clear();
        schedule(r.chunks);
        break;
    }
}

std::vector<std::uint8_t> FakeSerialLine::written() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

std::vector<std::uint32_t> FakeSerialLine::writeTicks() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return writeTicks_;
}

void FakeSerialLine::clearWritten() {
    std::lock_guard<std::mutex> lock(mutex_);
    written_.clear();
    writeTicks_.clear();
    stream_.clear();
}

int FakeSerialLine::opens() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return opens_;
}

int FakeSerialLine::closes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closes_;
}

bool FakeSerialLine::isOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_;
}

LineSettings FakeSerialLine::lastLine() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return line_;
}

bool FakeSerialLine::dtr() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return dtr_;
}

bool FakeSerialLine::rts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return rts_;
}

std::uint32_t FakeSerialLine::baudRate() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return line_.baudRate;
}

// ---- FakeSerialDevice ----

FakeSerialDevice::FakeSerialDevice(std::shared_ptr<FakeSerialLine> line, const QString& comName)
    : line_(std::move(line)), path_(QStringLiteral("fake:") + comName) {}

FakeSerialDevice::~FakeSerialDevice() {
    close();
}

OpenResult FakeSerialDevice::open() {
    int delay = 0;
    {
        std::lock_guard<std::mutex> lock(line_->mutex_);
        delay = line_->openDelayMs_;
    }
    // A slow driver blocks the caller, as the real open does.
    platform::SleepMs(delay);
    std::lock_guard<std::mutex> lock(line_->mutex_);
    if (line_->refuseCode_ != 0)
        return {line_->refuseCode_, path_, line_->refuseReason_};
    if (line_->open_)
        return {kErrAccessDenied, path_, QStringLiteral("Device or resource busy")};
    line_->open_ = true;
    line_->unplugged_ = false;
    ++line_->opens_;
    open_ = true;
    return {0, path_, {}};
}

void FakeSerialDevice::close() {
    if (!open_)
        return;
    std::lock_guard<std::mutex> lock(line_->mutex_);
    open_ = false;
    line_->open_ = false;
    ++line_->closes_;
    line_->input_.clear();
    line_->changed_.notify_all();
}

std::unique_lock<std::mutex> FakeSerialDevice::usable(bool& ok) const {
    std::unique_lock<std::mutex> lock(line_->mutex_);
    ok = open_ && !line_->unplugged_;
    return lock;
}

bool FakeSerialDevice::applyLine(const LineSettings& settings) {
    bool ok = false;
    auto lock = usable(ok);
    if (ok) {
        line_->line_ = settings;
        line_->dtr_ = settings.dtr != LineControl::Off;
        line_->rts_ = settings.rts != LineControl::Off;
    }
    return ok;
}

bool FakeSerialDevice::readBaudRate(std::uint32_t& baud) {
    bool ok = false;
    auto lock = usable(ok);
    if (ok)
        baud = line_->line_.baudRate;
    return ok;
}

bool FakeSerialDevice::setBaudRate(std::uint32_t baud) {
    bool ok = false;
    auto lock = usable(ok);
    if (ok)
        line_->line_.baudRate = baud;
    return ok;
}

bool FakeSerialDevice::setDtr(bool on) {
    bool ok = false;
    auto lock = usable(ok);
    if (ok)
        line_->dtr_ = on;
    return ok;
}

bool FakeSerialDevice::setRts(bool on) {
    bool ok = false;
    auto lock = usable(ok);
    if (ok)
        line_->rts_ = on;
    return ok;
}

bool FakeSerialDevice::setBreak(bool) {
    bool ok = false;
    auto lock = usable(ok);
    return ok;
}

bool FakeSerialDevice::setXon(bool) {
    bool ok = false;
    auto lock = usable(ok);
    return ok;
}

bool FakeSerialDevice::purge(bool input, bool) {
    bool ok = false;
    auto lock = usable(ok);
    if (ok && input)
        line_->input_.clear();
    return ok;
}

bool FakeSerialDevice::transmitChar(std::uint8_t ch) {
    return writeNow(&ch, 1) == 1;
}

int FakeSerialDevice::inputCount() {
    bool ok = false;
    auto lock = usable(ok);
    if (!ok)
        return -1;
    line_->deliverDue();
    return static_cast<int>(line_->input_.size());
}

int FakeSerialDevice::outputCount() {
    bool ok = false;
    auto lock = usable(ok);
    return ok ? 0 : -1;
}

bool FakeSerialDevice::modemStatus(ModemLines& lines) {
    bool ok = false;
    auto lock = usable(ok);
    lines = ok ? line_->modemLines_ : ModemLines{};
    return ok;
}

bool FakeSerialDevice::lineErrors(LineErrors& errors) {
    bool ok = false;
    auto lock = usable(ok);
    errors = {};
    return ok;
}

long FakeSerialDevice::writeNow(const std::uint8_t* data, std::size_t count) {
    bool ok = false;
    auto lock = usable(ok);
    if (!ok)
        return -1;
    FakeSerialLine& l = *line_;
    std::size_t allowed = count;
    if (l.dropAfter_ >= 0) {
        const long room = std::max(l.dropAfter_ - l.writtenTotal_, 0L);
        allowed = std::min(count, static_cast<std::size_t>(room));
        if (allowed == 0 && count > 0) {
            l.unplugged_ = l.failAtStart_;
            return l.failAtStart_ ? -1 : 0;
        }
    }
    l.take(data, allowed);
    return static_cast<long>(allowed);
}

long FakeSerialDevice::readNow(std::uint8_t* data, std::size_t count) {
    bool ok = false;
    auto lock = usable(ok);
    if (!ok)
        return -1;
    line_->deliverDue();
    auto& in = line_->input_;
    const std::size_t n = std::min(count, in.size());
    std::copy_n(in.begin(), n, data);
    in.erase(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<long>(n);
}

WaitResult FakeSerialDevice::waitWritable(int) {
    bool ok = false;
    auto lock = usable(ok);
    if (ok && line_->dropAfter_ >= 0 && line_->writtenTotal_ >= line_->dropAfter_)
        line_->unplugged_ = true;
    return ok && !line_->unplugged_ ? WaitResult::Ready : WaitResult::Failed;
}

WaitResult FakeSerialDevice::waitReadable(int timeoutMs) {
    const std::uint32_t start = platform::TickCount();
    for (;;) {
        const int n = inputCount();
        if (n < 0)
            return WaitResult::Failed;
        if (n > 0)
            return WaitResult::Ready;
        if (static_cast<int>(platform::TickCount() - start) >= timeoutMs)
            return WaitResult::TimedOut;
        platform::SleepMs(kAnswerPollMs);
    }
}

WaitResult FakeSerialDevice::waitForInput() {
    std::unique_lock<std::mutex> lock(line_->mutex_);
    for (;;) {
        if (!open_ || line_->unplugged_)
            return WaitResult::Failed;
        if (std::exchange(wakeRequested_, false))
            return WaitResult::Interrupted;
        line_->deliverDue();
        if (!line_->input_.empty())
            return WaitResult::Ready;
        if (line_->pending_.empty()) {
            line_->changed_.wait(lock);
            continue;
        }
        // deliverDue left the earliest bytes in front: sleep until they are due.
        const auto due =
            static_cast<std::int32_t>(line_->pending_.front().due - platform::TickCount());
        line_->changed_.wait_for(lock, std::chrono::milliseconds(std::max(due, 1)));
    }
}

void FakeSerialDevice::wakeInputWait() {
    std::lock_guard<std::mutex> lock(line_->mutex_);
    wakeRequested_ = true;
    line_->changed_.notify_all();
}

// ---- FakeSerialPorts ----

FakeSerialPorts::FakeSerialPorts()
    : lines_(std::make_shared<std::map<QString, std::shared_ptr<FakeSerialLine>>>()) {
    auto lines = lines_;
    serial::SetDeviceFactory([lines](const QString& comName) -> std::unique_ptr<SerialDevice> {
        const auto it = lines->find(comName);
        if (it == lines->end())
            return nullptr;
        return std::make_unique<FakeSerialDevice>(it->second, comName);
    });
}

FakeSerialPorts::~FakeSerialPorts() {
    serial::SetDeviceFactory({});
}

std::shared_ptr<FakeSerialLine> FakeSerialPorts::line(const QString& comName) {
    auto& slot = (*lines_)[comName];
    if (!slot)
        slot = std::make_shared<FakeSerialLine>();
    return slot;
}

} // namespace serial
