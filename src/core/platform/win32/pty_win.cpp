// Windows has no pseudo-terminals: the run provides linked pairs of COM ports
// instead (RELCON4_SIM_LINES="COM11:COM31,COM12:COM32", the program's side
// first; under Wine two pseudo-terminals joined by a relay). The unit's side
// is opened here; the program opens the other like any port.
#include "platform/pty.h"

#include "platform/clock.h"

#include <QStringList>
#include <mutex>
#include <set>
#include <windows.h>

namespace platform {

namespace {

std::mutex& ClaimMutex() {
    static std::mutex m;
    return m;
}

// Unit sides in use by this process.
std::set<QString>& Claimed() {
    static std::set<QString> names;
    return names;
}

HANDLE OpenUnitSide(const QString& name) {
    const std::wstring path = (QStringLiteral("\\\\.\\") + name).toStdWString();
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return h;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (::GetCommState(h, &dcb)) {
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fOutX = dcb.fInX = FALSE;
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        ::SetCommState(h, &dcb);
    }
    // Reads return at once with what is there; waiting is done by read() below.
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    ::SetCommTimeouts(h, &t);
    ::PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return h;
}

} // namespace

PseudoTerminal::~PseudoTerminal() {
    close();
}

bool PseudoTerminal::open() {
    close();
    const QStringList pairs =
        qEnvironmentVariable("RELCON4_SIM_LINES").split(QLatin1Char(','), Qt::SkipEmptyParts);
    std::lock_guard<std::mutex> lock(ClaimMutex());
    for (const QString& pair : pairs) {
        const QString program = pair.section(QLatin1Char(':'), 0, 0).trimmed();
        const QString unit = pair.section(QLatin1Char(':'), 1, 1).trimmed();
        if (program.isEmpty() || unit.isEmpty() || Claimed().count(unit))
            continue;
        HANDLE h = OpenUnitSide(unit);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        Claimed().insert(unit);
        handle_ = h;
        unitSide_ = unit;
        slavePath_ = program;
        return true;
    }
    return false;
}

bool PseudoTerminal::write(const std::uint8_t* data, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        if (!handle_)
            return false;
        DWORD n = 0;
        if (!::WriteFile(static_cast<HANDLE>(handle_), data + done,
                         static_cast<DWORD>(count - done), &n, nullptr))
            return false;
        done += n;
        if (n == 0)
            SleepMs(1);
    }
    return true;
}

int PseudoTerminal::read(std::vector<std::uint8_t>& out, int timeoutMs, std::size_t max) {
    if (!handle_)
        return -1;
    const std::uint32_t start = TickCount();
    for (;;) {
        DWORD errors = 0;
        COMSTAT stat{};
        if (!::ClearCommError(static_cast<HANDLE>(handle_), &errors, &stat))
            return -1;
        if (stat.cbInQue > 0)
            break;
        if (static_cast<int>(TickCount() - start) >= timeoutMs)
            return 0;
        SleepMs(1);
    }
    std::uint8_t chunk[512];
    std::size_t total = 0;
    while (total < max) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min(sizeof chunk, max - total));
        if (!::ReadFile(static_cast<HANDLE>(handle_), chunk, want, &n, nullptr) || n == 0)
            break;
        out.insert(out.end(), chunk, chunk + n);
        total += n;
    }
    return static_cast<int>(total);
}

void PseudoTerminal::close() {
    if (handle_)
        ::CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    if (!unitSide_.isEmpty()) {
        std::lock_guard<std::mutex> lock(ClaimMutex());
        Claimed().erase(unitSide_);
        unitSide_.clear();
    }
}

} // namespace platform
