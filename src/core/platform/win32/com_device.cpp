#include "platform/win32/com_device.h"

#include "platform/clock.h"
#include "platform/port_map.h"
#include "platform/win32/system_message.h"

#include <algorithm>
#include <windows.h>

namespace platform {

namespace {

// Driver queue sizes asked for at open; XON/XOFF limits are a quarter of the input queue.
constexpr DWORD kQueueSize = 4096;
// Closing waits this long for a write in flight before dropping it, so a stuck
// line (flow control, a dead adapter) cannot hold up the close.
constexpr DWORD kCloseDrainMs = 500;
// A wait for input looks at the driver's queue at the exchange's own 1 ms step.
constexpr int kInputPollMs = 1;
// The polling thread's wait for EV_RXCHAR ends after this long all the same:
// some emulated ports (a remote desktop's, Wine's on some lines) never raise
// the event, and their bytes are then still taken, only later.
constexpr DWORD kInputEventLimitMs = 1000;

HANDLE AsHandle(void* h) {
    return static_cast<HANDLE>(h);
}

BYTE ParityCode(serial::Parity p) {
    switch (p) {
    case serial::Parity::Odd:
        return ODDPARITY;
    case serial::Parity::Even:
        return EVENPARITY;
    case serial::Parity::Mark:
        return MARKPARITY;
    case serial::Parity::Space:
        return SPACEPARITY;
    case serial::Parity::None:
        break;
    }
    return NOPARITY;
}

BYTE StopBitsCode(serial::StopBits s) {
    switch (s) {
    case serial::StopBits::OneAndHalf:
        return ONE5STOPBITS;
    case serial::StopBits::Two:
        return TWOSTOPBITS;
    case serial::StopBits::One:
        break;
    }
    return ONESTOPBIT;
}

// The DCB's DTR and RTS control values share their numbering (disable 0, enable 1, handshake 2).
DWORD LineControlCode(serial::LineControl c) {
    switch (c) {
    case serial::LineControl::On:
        return DTR_CONTROL_ENABLE;
    case serial::LineControl::Handshake:
        return DTR_CONTROL_HANDSHAKE;
    case serial::LineControl::Off:
        break;
    }
    return DTR_CONTROL_DISABLE;
}

// A port without modem lines (a virtual port, a pseudo-terminal under Wine)
// refuses the line calls as unsupported; that counts as done, as on Linux.
bool NoModemLines() {
    const DWORD err = ::GetLastError();
    return err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION;
}

} // namespace

struct ComDevice::Io {
    OVERLAPPED write{};
    OVERLAPPED read{};
    // The polling thread's WaitCommEvent, which may stay pending between its waits.
    OVERLAPPED input{};
    DWORD inputMask = 0;
    bool inputPending = false;
    // Set by wakeInputWait; auto-reset, so one wake-up ends one wait.
    HANDLE wake = nullptr;
    bool writing = false;
    bool writeFailed = false;
    // The bytes of the write in flight: the driver reads them until it completes.
    std::vector<std::uint8_t> writeBytes;

    Io() {
        write.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        read.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        input.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        wake = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    ~Io() {
        ::CloseHandle(write.hEvent);
        ::CloseHandle(read.hEvent);
        ::CloseHandle(input.hEvent);
        ::CloseHandle(wake);
    }
    Io(const Io&) = delete;
    Io& operator=(const Io&) = delete;
};

ComDevice::ComDevice(const QString& comName) : comName_(comName) {}

ComDevice::~ComDevice() {
    close();
}

serial::OpenResult ComDevice::open() {
    close();
    path_ = ResolvePort(comName_);
    if (path_.isEmpty())
        return {ERROR_INVALID_NAME, {}, SystemMessage(ERROR_INVALID_NAME)};
    const std::wstring wide = path_.toStdWString();
    HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = ::GetLastError();
        return {err, path_, SystemMessage(err)};
    }
    // Reads return at once with what is queued; the serial component does its own waiting.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    if (!::SetupComm(h, kQueueSize, kQueueSize) || !::SetCommTimeouts(h, &timeouts)) {
        const DWORD err = ::GetLastError();
        ::CloseHandle(h);
        return {err, path_, SystemMessage(err)};
    }
    // A port opens with an empty receive queue: bytes that came while it was
    // closed (a late reply to the last command) are no reply to the next one.
    ::PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    DWORD stale = 0;
    ::ClearCommError(h, &stale, nullptr);
    errors_ = 0;
    // The polling thread waits for this event; a port that refuses it makes
    // that wait fail, and the thread then looks at the queue by the clock.
    ::SetCommMask(h, EV_RXCHAR);
    io_ = std::make_unique<Io>();
    handle_ = h;
    return {0, path_, {}};
}

void ComDevice::close() {
    HANDLE h = AsHandle(handle_.exchange(nullptr));
    if (!h)
        return;
    if (io_->writing)
        ::WaitForSingleObject(io_->write.hEvent, kCloseDrainMs);
    ::PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    bool settled = true;
    if (io_->writing) {
        // The system writes the OVERLAPPED when the write ends, so it may be
        // freed only after that; a driver that never ends it keeps it for good.
        ::CancelIoEx(h, &io_->write);
        settled = ::WaitForSingleObject(io_->write.hEvent, kCloseDrainMs) == WAIT_OBJECT_0;
    }
    settled = endInputWait(h) && settled;
    ::CloseHandle(h);
    if (settled)
        io_.reset();
    else
        (void)io_.release();
}

bool ComDevice::applyLine(const serial::LineSettings& s) {
    HANDLE h = AsHandle(handle_.load());
    if (!h)
        return false;
    // Built from scratch, so nothing the port had before leaks into the line.
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = s.baudRate;
    dcb.fBinary = TRUE;
    dcb.fParity = s.parityCheck;
    dcb.fOutxCtsFlow = s.ctsFlow;
    dcb.fOutxDsrFlow = s.dsrFlow;
    dcb.fDtrControl = LineControlCode(s.dtr);
    dcb.fRtsControl = LineControlCode(s.rts);
    dcb.fOutX = s.xonXoffOut;
    dcb.fInX = s.xonXoffIn;
    dcb.XonLim = dcb.XoffLim = kQueueSize / 4;
    dcb.ByteSize = static_cast<BYTE>(s.dataBits);
    dcb.Parity = ParityCode(s.parity);
    dcb.StopBits = StopBitsCode(s.stopBits);
    dcb.XonChar = static_cast<char>(s.xonChar);
    dcb.XoffChar = static_cast<char>(s.xoffChar);
    return ::SetCommState(h, &dcb);
}

bool ComDevice::readBaudRate(std::uint32_t& baud) {
    HANDLE h = AsHandle(handle_.load());
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!h || !::GetCommState(h, &dcb))
        return false;
    baud = dcb.BaudRate;
    return true;
}

bool ComDevice::setBaudRate(std::uint32_t baud) {
    HANDLE h = AsHandle(handle_.load());
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!h || !::GetCommState(h, &dcb))
        return false;
    dcb.BaudRate = baud;
    return ::SetCommState(h, &dcb);
}

bool ComDevice::escape(unsigned function) {
    HANDLE h = AsHandle(handle_.load());
    return h && (::EscapeCommFunction(h, function) || NoModemLines());
}

bool ComDevice::setDtr(bool on) {
    return escape(on ? SETDTR : CLRDTR);
}
bool ComDevice::setRts(bool on) {
    return escape(on ? SETRTS : CLRRTS);
}
bool ComDevice::setBreak(bool on) {
    return escape(on ? SETBREAK : CLRBREAK);
}
bool ComDevice::setXon(bool on) {
    return escape(on ? SETXON : SETXOFF);
}

bool ComDevice::purge(bool input, bool output) {
    HANDLE h = AsHandle(handle_.load());
    if (!h)
        return false;
    const DWORD flags = (input ? PURGE_RXCLEAR : 0) | (output ? PURGE_TXCLEAR : 0);
    return flags == 0 || ::PurgeComm(h, flags);
}

bool ComDevice::transmitChar(std::uint8_t ch) {
    HANDLE h = AsHandle(handle_.load());
    return h && ::TransmitCommChar(h, static_cast<char>(ch));
}

bool ComDevice::queues(int& in, int& out) {
    HANDLE h = AsHandle(handle_.load());
    COMSTAT stat{};
    DWORD errors = 0;
    if (!h || !::ClearCommError(h, &errors, &stat))
        return false;
    errors_ |= errors;
    in = static_cast<int>(stat.cbInQue);
    out = static_cast<int>(stat.cbOutQue);
    return true;
}

int ComDevice::inputCount() {
    int in = 0, out = 0;
    return queues(in, out) ? in : -1;
}

int ComDevice::outputCount() {
    int in = 0, out = 0;
    return queues(in, out) ? out : -1;
}

bool ComDevice::modemStatus(serial::ModemLines& lines) {
    lines = {};
    HANDLE h = AsHandle(handle_.load());
    DWORD bits = 0;
    if (!h)
        return false;
    if (!::GetCommModemStatus(h, &bits))
        return NoModemLines();
    lines.cts = bits & MS_CTS_ON;
    lines.dsr = bits & MS_DSR_ON;
    lines.ring = bits & MS_RING_ON;
    lines.rlsd = bits & MS_RLSD_ON;
    return true;
}

bool ComDevice::lineErrors(serial::LineErrors& errors) {
    errors = {};
    int in = 0, out = 0;
    if (!queues(in, out))
        return false;
    const unsigned seen = errors_.exchange(0);
    errors.frame = seen & CE_FRAME;
    errors.parity = seen & CE_RXPARITY;
    errors.overrun = seen & (CE_OVERRUN | CE_RXOVER);
    errors.brk = seen & CE_BREAK;
    return true;
}

bool ComDevice::collectWrite() {
    if (!io_->writing)
        return true;
    HANDLE h = AsHandle(handle_.load());
    DWORD n = 0;
    if (h && ::GetOverlappedResult(h, &io_->write, &n, FALSE)) {
        io_->writing = false;
        return true;
    }
    if (h && ::GetLastError() == ERROR_IO_INCOMPLETE)
        return false;
    io_->writing = false;
    io_->writeFailed = true;
    return false;
}

// A write the driver has queued (ERROR_IO_PENDING) counts as taken, as a tty's
// write does once the bytes are in its buffer: the next write, or a wait for
// the port to be writable, waits for it to complete, up to the caller's limit.
long ComDevice::writeNow(const std::uint8_t* data, std::size_t count) {
    HANDLE h = AsHandle(handle_.load());
    if (!h)
        return -1;
    if (!collectWrite()) {
        const bool failed = io_->writeFailed;
        io_->writeFailed = false;
        return failed ? -1 : 0;
    }
    if (count == 0)
        return 0;
    io_->writeBytes.assign(data, data + count);
    if (!::WriteFile(h, io_->writeBytes.data(), static_cast<DWORD>(count), nullptr, &io_->write)) {
        if (::GetLastError() != ERROR_IO_PENDING)
            return -1;
        io_->writing = true;
        return static_cast<long>(count);
    }
    DWORD n = 0;
    return ::GetOverlappedResult(h, &io_->write, &n, FALSE) ? static_cast<long>(n) : -1;
}

long ComDevice::readNow(std::uint8_t* data, std::size_t count) {
    HANDLE h = AsHandle(handle_.load());
    if (!h)
        return -1;
    if (count == 0)
        return 0;
    // With the read time-outs of open() this completes at once, whatever is queued.
    if (!::ReadFile(h, data, static_cast<DWORD>(count), nullptr, &io_->read) &&
        ::GetLastError() != ERROR_IO_PENDING)
        return -1;
    DWORD n = 0;
    return ::GetOverlappedResult(h, &io_->read, &n, TRUE) ? static_cast<long>(n) : -1;
}

serial::WaitResult ComDevice::waitWritable(int timeoutMs) {
    if (!handle_.load())
        return serial::WaitResult::Failed;
    if (io_->writing) {
        const DWORD waited =
            ::WaitForSingleObject(io_->write.hEvent, static_cast<DWORD>(std::max(timeoutMs, 0)));
        if (waited == WAIT_TIMEOUT)
            return serial::WaitResult::TimedOut;
        if (waited != WAIT_OBJECT_0)
            return serial::WaitResult::Failed;
    }
    if (collectWrite())
        return serial::WaitResult::Ready;
    io_->writeFailed = false;
    return serial::WaitResult::Failed;
}

serial::WaitResult ComDevice::waitReadable(int timeoutMs) {
    const MonoTime end = MonoAfter(MonoNow(), timeoutMs);
    for (;;) {
        int in = 0, out = 0;
        if (!queues(in, out))
            return serial::WaitResult::Failed;
        if (in > 0)
            return serial::WaitResult::Ready;
        if (MonoNow() >= end)
            return serial::WaitResult::TimedOut;
        SleepMs(kInputPollMs);
    }
}

bool ComDevice::endInputWait(void* handle) {
    if (!io_->inputPending)
        return true;
    HANDLE h = AsHandle(handle);
    // A new event mask ends a pending WaitCommEvent at once; the cancel is for
    // a driver that does not.
    ::SetCommMask(h, 0);
    ::CancelIoEx(h, &io_->input);
    const bool ended = ::WaitForSingleObject(io_->input.hEvent, kCloseDrainMs) == WAIT_OBJECT_0;
    io_->inputPending = !ended;
    return ended;
}

// WaitCommEvent with an overlapped event, beside the wake-up event. The
// driver keeps the events that came while no wait was pending, so a
// character arriving between the queue's check and the new wait still ends it.
serial::WaitResult ComDevice::waitForInput() {
    HANDLE h = AsHandle(handle_.load());
    if (!h)
        return serial::WaitResult::Failed;
    Io& io = *io_;
    int in = 0, out = 0;
    if (!queues(in, out))
        return serial::WaitResult::Failed;
    if (in > 0)
        return serial::WaitResult::Ready;
    if (!io.inputPending) {
        io.inputMask = 0;
        if (::WaitCommEvent(h, &io.inputMask, &io.input))
            return serial::WaitResult::Ready;
        if (::GetLastError() != ERROR_IO_PENDING)
            return serial::WaitResult::Failed;
        io.inputPending = true;
    }
    const HANDLE events[2] = {io.input.hEvent, io.wake};
    const DWORD waited = ::WaitForMultipleObjects(2, events, FALSE, kInputEventLimitMs);
    // On a wake-up or the limit the event wait stays pending for the next call.
    if (waited == WAIT_OBJECT_0 + 1)
        return serial::WaitResult::Interrupted;
    if (waited == WAIT_TIMEOUT)
        return serial::WaitResult::TimedOut;
    if (waited != WAIT_OBJECT_0)
        return serial::WaitResult::Failed;
    io.inputPending = false;
    DWORD unused = 0;
    if (!::GetOverlappedResult(h, &io.input, &unused, FALSE))
        return serial::WaitResult::Failed;
    return io.inputMask & EV_RXCHAR ? serial::WaitResult::Ready : serial::WaitResult::Failed;
}

void ComDevice::wakeInputWait() {
    if (handle_.load())
        ::SetEvent(io_->wake);
}

} // namespace platform
