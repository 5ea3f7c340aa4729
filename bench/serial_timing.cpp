// Figures of the serial port component on a pseudo-terminal: the byte gaps
// of the paced send as the unit sees them, and the CPU the polling thread
// costs while the port is open and idle. Prints; asserts nothing.
#include "platform/port_map.h"
#include "platform/pty.h"
#include "platform/user_folders.h"
#include "serial/com_port.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

std::vector<double> MeasureGaps(TComPortD& port, int masterFd, int frames) {
    std::vector<double> gaps;
    const TMasBytes frame{0x0A, 0x01, 0x03, 0x00, 0x10, 0x20, 0x30, 0x40, 0xC1, 0x7E};
    for (int f = 0; f < frames; ++f) {
        std::vector<Clock::time_point> at;
        std::atomic<bool> done{false};
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        std::thread reader([&] {
            while ((!done || at.size() < frame.size()) && Clock::now() < deadline) {
                pollfd pfd{masterFd, POLLIN, 0};
                if (::poll(&pfd, 1, 5) <= 0)
                    continue;
                std::uint8_t buf[64];
                const ssize_t n = ::read(masterFd, buf, sizeof buf);
                const auto now = Clock::now();
                for (ssize_t i = 0; i < n; ++i)
                    at.push_back(now);
            }
        });
        TMasBytes copy = frame;
        port.SendString(&copy, static_cast<std::uint16_t>(copy.size()));
        done = true;
        reader.join();
        for (std::size_t i = 1; i < at.size(); ++i)
            gaps.push_back(std::chrono::duration<double, std::milli>(at[i] - at[i - 1]).count() -
                           4.0);
    }
    return gaps;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    platform::SetSysfsRoot(home.path() + "/no-sysfs");
    platform::PseudoTerminal pty;
    QDir().mkpath(platform::PortsFolder());
    if (!pty.open() || !QFile::link(pty.slavePath(), platform::PortsFolder() + "/COM7")) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    TComPortD port;
    port.SetPort("COM7");
    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(9600);
    port.Timeouts()->SetWrite1Wait2(4);
    port.Timeouts()->SetWrite2WaitN(4);
    port.Timeouts()->SetWaitTimePrevSending(2);
    port.Open();
    if (!port.Connected()) {
        std::fprintf(stderr, "open failed: %u\n", port.LastError());
        return 1;
    }
    port.SetPhonReceive(false);
    std::vector<double> gaps = MeasureGaps(port, pty.masterFd(), 100);
    std::sort(gaps.begin(), gaps.end());
    const double median = gaps[gaps.size() / 2];
    const double worst = std::max(std::fabs(gaps.front()), std::fabs(gaps.back()));
    std::printf(
        "gap error over %zu gaps (4 ms pauses): median %+.3f ms, p95 %+.3f ms, worst %.3f ms\n",
        gaps.size(), median, gaps[gaps.size() * 95 / 100], worst);

    port.SetPhonReceive(true);
    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const double cpu = CpuSeconds() - cpu0;
    std::printf("idle polling thread: %.2f ms CPU per s of wall time (%.3f %% of one core)\n",
                cpu / wall * 1000.0, cpu / wall * 100.0);
    port.Close();
    return 0;
}
