#include "child_process.h"

#include <csignal>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace files_test {

namespace {

// "nobody" on Debian; a user that owns nothing of the test's folders.
constexpr uid_t kNobody = 65534;

void applyLimits(const TChildLimits& limits) {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (limits.fileSizeLimit >= 0) {
        signal(SIGXFSZ, limits.writeFailsAtLimit ? SIG_IGN : SIG_DFL);
        const auto size = static_cast<rlim_t>(limits.fileSizeLimit);
        const rlimit cap{size, size};
        setrlimit(RLIMIT_FSIZE, &cap);
    }
    if (limits.dropRoot && geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(125);
    }
}

void writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

TChildEnd waitForChild(pid_t pid) {
    TChildEnd end;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    end.exited = WIFEXITED(status);
    end.code = end.exited ? WEXITSTATUS(status) : -1;
    end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return end;
}

} // namespace

TChildEnd RunInChild(const std::function<QByteArray()>& body, const TChildLimits& limits) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        applyLimits(limits);
        writeAll(pipeFds[1], body());
        _exit(0);
    }
    close(pipeFds[1]);
    QByteArray report;
    char chunk[4096];
    ssize_t n = 0;
    while ((n = read(pipeFds[0], chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            report.append(chunk, n);
    close(pipeFds[0]);
    TChildEnd end = pid > 0 ? waitForChild(pid) : TChildEnd{};
    end.report = report;
    return end;
}

bool KillWhileLooping(const std::function<void(int round)>& body, std::chrono::microseconds after) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        applyLimits({});
        const char running = 'r';
        if (write(pipeFds[1], &running, 1) != 1)
            _exit(1);
        for (int round = 0;; ++round)
            body(round);
    }
    close(pipeFds[1]);
    if (pid < 0) {
        close(pipeFds[0]);
        return false;
    }
    // The child says it runs; a deadline keeps a stuck fork from hanging the test.
    pollfd ready{pipeFds[0], POLLIN, 0};
    char running = 0;
    const bool started = poll(&ready, 1, 5000) == 1 && read(pipeFds[0], &running, 1) == 1;
    close(pipeFds[0]);
    if (started)
        std::this_thread::sleep_for(after);
    kill(pid, SIGKILL);
    const TChildEnd end = waitForChild(pid);
    return started && end.signal == SIGKILL;
}

bool RunningAsRoot() {
    return geteuid() == 0;
}

} // namespace files_test
