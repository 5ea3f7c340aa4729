#include "platform/tty_device.h"

#include "platform/clock.h"
#include "platform/port_map.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// How long closing waits for queued output to leave before dropping it, so a
// stuck line (flow control, a dead adapter) cannot hold up the close.
constexpr int kCloseDrainMs = 500;

struct StandardRate {
    std::uint32_t baud;
    speed_t code;
};
constexpr std::array<StandardRate, 26> kStandardRates{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000},
}};

bool StandardCode(std::uint32_t baud, speed_t& code) {
    for (const auto& r : kStandardRates)
        if (r.baud == baud) {
            code = r.code;
            return true;
        }
    return false;
}

// A device without modem lines (a pseudo-terminal) answers these ioctls with
// ENOTTY or EINVAL; that counts as done.
bool NoModemLines(int err) {
    return err == ENOTTY || err == EINVAL;
}

tcflag_t SizeFlag(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

void SetFraming(termios& tio, const serial::LineSettings& s) {
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | SizeFlag(s.dataBits);
    switch (s.parity) {
    case serial::Parity::None:
        break;
    case serial::Parity::Odd:
        tio.c_cflag |= PARENB | PARODD;
        break;
    case serial::Parity::Even:
        tio.c_cflag |= PARENB;
        break;
    case serial::Parity::Mark:
        tio.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case serial::Parity::Space:
        tio.c_cflag |= PARENB | CMSPAR;
        break;
    }
    // Linux has no 1.5 stop bits; the longer setting is the safe one.
    if (s.stopBits != serial::StopBits::One)
        tio.c_cflag |= CSTOPB;
    if (s.ctsFlow || s.rts == serial::LineControl::Handshake)
        tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (s.xonXoffOut)
        tio.c_iflag |= IXON;
    if (s.xonXoffIn)
        tio.c_iflag |= IXOFF;
    if (s.parityCheck)
        tio.c_iflag |= INPCK;
    tio.c_cc[VSTART] = s.xonChar;
    tio.c_cc[VSTOP] = s.xoffChar;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

// The kernel lists ttyS ports whether or not a UART answers behind them.
bool IsUartNode(const QString& path) {
    static const QRegularExpression re(QStringLiteral("^ttyS[0-9]+$"));
    return re.match(QFileInfo(QFileInfo(path).canonicalFilePath()).fileName()).hasMatch();
}

} // namespace

std::uint32_t OpenErrorCode(int err) {
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return serial::kErrFileNotFound;
    case ENAMETOOLONG:
    case ENOTDIR:
    case EISDIR:
    case ELOOP:
    case ENOTTY:
    case EINVAL:
        return serial::kErrInvalidName;
    case EACCES:
    case EPERM:
        return serial::kErrNoPermission;
    case EBUSY:
    case EAGAIN:
    case EROFS:
        return serial::kErrAccessDenied;
    default:
        return serial::kErrGenFailure;
    }
}

TtyDevice::TtyDevice(const QString& comName)
    : comName_(comName), wake_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

TtyDevice::~TtyDevice() {
    close();
    if (wake_ >= 0)
        ::close(wake_);
}

serial::OpenResult TtyDevice::fail(int err, std::uint32_t code) {
    const int fd = fd_.exchange(-1);
    if (fd >= 0)
        ::close(fd);
    return {code, path_, qt_error_string(err)};
}

serial::OpenResult TtyDevice::open() {
    close();
    path_ = ResolvePort(comName_);
    if (path_.isEmpty())
        return {serial::kErrFileNotFound,
                {},
                QStringLiteral("no device is mapped to %1").arg(comName_)};
    const QByteArray native = QFile::encodeName(path_);
    if (!native.startsWith('/') || native.contains('\0'))
        return fail(EINVAL, serial::kErrInvalidName);

    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        return fail(err, OpenErrorCode(err));
    }
    fd_ = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return fail(ENOTTY, serial::kErrInvalidName);
    // Another user of the port is refused, as with an unshared Windows handle.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        return fail(err, serial::kErrAccessDenied);
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        const int err = errno;
        return fail(err, OpenErrorCode(err));
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        const int err = errno;
        return fail(err, OpenErrorCode(err));
    }
    serial_struct info{};
    if (IsUartNode(path_) && ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN)
        return fail(EIO, serial::kErrGenFailure);

    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
    // A port opens with an empty receive queue, as a COM port does: bytes that
    // came while it was closed (a late reply to the last command) are no reply
    // to the next one.
    ::tcflush(fd, TCIFLUSH);
    serial_icounter_struct counts{};
    if (::ioctl(fd, TIOCGICOUNT, &counts) == 0) {
        frame_ = counts.frame;
        parity_ = counts.parity;
        overrun_ = counts.overrun;
        brk_ = counts.brk;
    }
    return {0, path_, {}};
}

void TtyDevice::close() {
    const int fd = fd_.exchange(-1);
    if (fd < 0)
        return;
    const std::uint32_t start = TickCount();
    int queued = 0;
    while (::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0 &&
           static_cast<int>(TickCount() - start) < kCloseDrainMs)
        SleepMs(2);
    ::tcflush(fd, TCIOFLUSH);
    // The exclusive mark stays on the tty while any other descriptor holds it
    // (the master side of a pseudo-terminal does), so it is taken off here.
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

bool TtyDevice::applyLine(const serial::LineSettings& settings) {
    const int fd = fd_;
    termios tio{};
    if (fd < 0 || ::tcgetattr(fd, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    SetFraming(tio, settings);
    speed_t code = B38400;
    const bool standard = StandardCode(settings.baudRate, code);
    ::cfsetispeed(&tio, code);
    ::cfsetospeed(&tio, code);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        return false;
    if (!standard && !SetCustomBaud(fd, settings.baudRate))
        return false;
    const bool dtr = settings.dtr != serial::LineControl::Off;
    const bool rts = settings.rts != serial::LineControl::Off;
    return setDtr(dtr) && setRts(rts);
}

bool TtyDevice::readBaudRate(std::uint32_t& baud) {
    const int fd = fd_;
    return fd >= 0 && GetActualBaud(fd, baud);
}

bool TtyDevice::setBaudRate(std::uint32_t baud) {
    const int fd = fd_;
    if (fd < 0)
        return false;
    speed_t code = B0;
    if (!StandardCode(baud, code))
        return SetCustomBaud(fd, baud);
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return false;
    ::cfsetispeed(&tio, code);
    ::cfsetospeed(&tio, code);
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

bool TtyDevice::setModemBits(int bits, bool on) {
    const int fd = fd_;
    if (fd < 0)
        return false;
    return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0 || NoModemLines(errno);
}

bool TtyDevice::setDtr(bool on) {
    return setModemBits(TIOCM_DTR, on);
}
bool TtyDevice::setRts(bool on) {
    return setModemBits(TIOCM_RTS, on);
}

bool TtyDevice::setBreak(bool on) {
    const int fd = fd_;
    return fd >= 0 && (::ioctl(fd, on ? TIOCSBRK : TIOCCBRK) == 0 || NoModemLines(errno));
}

bool TtyDevice::setXon(bool on) {
    const int fd = fd_;
    return fd >= 0 && ::tcflow(fd, on ? TCOON : TCOOFF) == 0;
}

bool TtyDevice::purge(bool input, bool output) {
    const int fd = fd_;
    if (fd < 0)
        return false;
    if (!input && !output)
        return true;
    const int which = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    return ::tcflush(fd, which) == 0;
}

bool TtyDevice::transmitChar(std::uint8_t ch) {
    return writeNow(&ch, 1) == 1;
}

int TtyDevice::inputCount() {
    const int fd = fd_;
    int n = 0;
    return fd >= 0 && ::ioctl(fd, TIOCINQ, &n) == 0 ? n : -1;
}

int TtyDevice::outputCount() {
    const int fd = fd_;
    int n = 0;
    return fd >= 0 && ::ioctl(fd, TIOCOUTQ, &n) == 0 ? n : -1;
}

bool TtyDevice::modemStatus(serial::ModemLines& lines) {
    lines = {};
    const int fd = fd_;
    if (fd < 0)
        return false;
    int bits = 0;
    if (::ioctl(fd, TIOCMGET, &bits) != 0)
        return NoModemLines(errno);
    lines.cts = bits & TIOCM_CTS;
    lines.dsr = bits & TIOCM_DSR;
    lines.ring = bits & TIOCM_RNG;
    lines.rlsd = bits & TIOCM_CD;
    return true;
}

bool TtyDevice::lineErrors(serial::LineErrors& errors) {
    errors = {};
    const int fd = fd_;
    if (fd < 0)
        return false;
    serial_icounter_struct c{};
    if (::ioctl(fd, TIOCGICOUNT, &c) != 0)
        return NoModemLines(errno);
    errors.frame = c.frame != std::exchange(frame_, c.frame);
    errors.parity = c.parity != std::exchange(parity_, c.parity);
    errors.overrun = c.overrun != std::exchange(overrun_, c.overrun);
    errors.brk = c.brk != std::exchange(brk_, c.brk);
    return true;
}

long TtyDevice::writeNow(const std::uint8_t* data, std::size_t count) {
    const int fd = fd_;
    if (fd < 0)
        return -1;
    const ssize_t n = ::write(fd, data, count);
    if (n >= 0)
        return n;
    return errno == EAGAIN || errno == EINTR ? 0 : -1;
}

long TtyDevice::readNow(std::uint8_t* data, std::size_t count) {
    const int fd = fd_;
    if (fd < 0)
        return -1;
    const ssize_t n = ::read(fd, data, count);
    if (n >= 0)
        return n;
    return errno == EAGAIN || errno == EINTR ? 0 : -1;
}

serial::WaitResult TtyDevice::waitFor(short events, int timeoutMs) {
    const bool unlimited = timeoutMs < 0;
    if (unlimited && wake_ < 0)
        return serial::WaitResult::Failed;
    const std::uint32_t start = TickCount();
    for (;;) {
        const int fd = fd_;
        if (fd < 0)
            return serial::WaitResult::Failed;
        const int left = timeoutMs - static_cast<int>(TickCount() - start);
        pollfd pfd[2]{{fd, events, 0}, {wake_, POLLIN, 0}};
        const int ready = ::poll(pfd, unlimited ? 2 : 1, unlimited ? -1 : std::max(left, 0));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (pfd[0].revents & (POLLERR | POLLHUP | POLLNVAL)))
            return serial::WaitResult::Failed;
        if (ready == 0)
            return serial::WaitResult::TimedOut;
        if (pfd[0].revents & events)
            return serial::WaitResult::Ready;
        // Only the wake-up came: take it, so the next wait blocks again.
        eventfd_t count = 0;
        ::eventfd_read(wake_, &count);
        return serial::WaitResult::Interrupted;
    }
}

serial::WaitResult TtyDevice::waitWritable(int timeoutMs) {
    return waitFor(POLLOUT, std::max(timeoutMs, 0));
}
serial::WaitResult TtyDevice::waitReadable(int timeoutMs) {
    return waitFor(POLLIN, std::max(timeoutMs, 0));
}
serial::WaitResult TtyDevice::waitForInput() {
    return waitFor(POLLIN, -1);
}

void TtyDevice::wakeInputWait() {
    if (wake_ >= 0)
        ::eventfd_write(wake_, 1);
}

} // namespace platform
