// The single-instance rule with real processes: later copies of the program
// wake the first and leave with exit code 0 without showing a window.
#include "platform/instance_signal.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "support/test_env.h"

#include <QLockFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

const QString kName = QStringLiteral("Relcon4_UNIQUE_EVENT");

QString programPath() {
    return testenv::BinaryDir() + QStringLiteral("/relcon4");
}

void startProgram(QProcess& p) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProgram(programPath());
    p.start();
}

// True when the lock file names this process as its holder; reads the lock
// without taking it, so the check itself never competes for it.
bool holdsLock(const QProcess& p) {
    InstanceSignal where(kName);
    QLockFile lock(where.serverPath() + QStringLiteral(".lock"));
    qint64 pid = 0;
    QString host, app;
    return lock.getLockInfo(&pid, &host, &app) && pid == p.processId();
}

// Runs a later copy to its end while this process's event loop keeps serving.
int runLaterCopy() {
    QProcess p;
    startProgram(p);
    if (!p.waitForStarted(5000))
        return -1;
    if (!testenv::WaitFor([&] { return p.state() == QProcess::NotRunning; },
                          std::chrono::seconds(10))) {
        p.kill();
        p.waitForFinished();
        return -2;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3;
}

} // namespace

TEST(SingleInstance, LaterCopiesExitZeroAndRestoreTheFirst) {
    InstanceSignal first(kName);
    ASSERT_TRUE(first.acquire());
    CreateAppWindows(false);
    int wakes = 0;
    QObject::connect(&first, &InstanceSignal::woken, Relcon4, [&] {
        ++wakes;
        Relcon4->RestoreMainWindow();
    });

    for (int copy = 2; copy <= 3; ++copy) {
        Relcon4->showMinimized();
        ASSERT_TRUE(testenv::WaitFor([] { return Relcon4->isMinimized(); }));
        EXPECT_EQ(runLaterCopy(), 0) << "copy " << copy;
        EXPECT_TRUE(testenv::WaitFor([&] { return wakes == copy - 1; })) << "copy " << copy;
        EXPECT_TRUE(testenv::WaitFor([] { return !Relcon4->isMinimized(); })) << "copy " << copy;
    }
    DestroyAppWindows();
}

TEST(SingleInstance, ACrashedFirstCopyDoesNotBlockTheNextStart) {
    QProcess crashed;
    startProgram(crashed);
    ASSERT_TRUE(crashed.waitForStarted(5000));
    ASSERT_TRUE(testenv::WaitFor([&] { return holdsLock(crashed); }, std::chrono::seconds(10)));
    crashed.kill(); // SIGKILL: no clean-up at all
    crashed.waitForFinished();

    QProcess next;
    startProgram(next);
    ASSERT_TRUE(next.waitForStarted(5000));
    // The new copy becomes the first: it keeps running and a later copy wakes it.
    EXPECT_TRUE(testenv::WaitFor([&] { return holdsLock(next); }, std::chrono::seconds(10)));
    EXPECT_EQ(next.state(), QProcess::Running);
    EXPECT_EQ(runLaterCopy(), 0);
    EXPECT_EQ(next.state(), QProcess::Running);
    next.terminate();
    if (!next.waitForFinished(5000)) {
        next.kill();
        next.waitForFinished();
    }
}
