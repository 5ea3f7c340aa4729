// relcon4-sim as a user runs it: options, the COM line it prints, serving,
// and the link it removes when stopped by a signal.
#include "ro4d_unit.h"
#include "sim_port.h"
#include "zi2z3_unit.h"

#include "platform/user_folders.h"
#include "support/test_env.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using sim::Bytes;
using simtest::Port;

namespace {

QString Program() {
    return testenv::BinaryDir() + QStringLiteral("/relcon4-sim");
}

// Output of the process up to a line containing text, within 5 s.
QString WaitForLine(QProcess& p, const QString& text, QString& seen) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        for (const QString& line : seen.split(QLatin1Char('\n')))
            if (line.contains(text))
                return line;
        p.waitForReadyRead(100);
        seen += QString::fromLocal8Bit(p.readAllStandardOutput());
    }
    return {};
}

// Starts relcon4-sim with the blank-separated options and waits for the
// line naming its port ("COM<n> <device> <unit>").
QString StartSim(QProcess& p, const QString& options, QString& seen) {
    p.start(Program(), options.split(QLatin1Char(' ')));
    return WaitForLine(p, QStringLiteral("/dev/"), seen);
}

void StopSim(QProcess& p) {
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
}

} // namespace

TEST(SimProgram, HelpExplainsEveryOptionAndBadOptionsAreRefused) {
    QProcess help;
    help.start(Program(), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(5000));
    EXPECT_EQ(help.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
    for (const char* option :
         {"--unit", "--com", "--board", "--date", "--mode", "--fault", "--replug", "--trace",
          "silence", "late", "short", "split", "first", "crc", "garbage", "refuse", "drop"})
        EXPECT_TRUE(text.contains(QLatin1String(option))) << option;

    QProcess bad;
    bad.start(Program(), {QStringLiteral("--unit"), QStringLiteral("qv9")});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("unknown unit"));

    QProcess badFault;
    badFault.start(Program(), {QStringLiteral("--fault"), QStringLiteral("late")});
    ASSERT_TRUE(badFault.waitForFinished(5000));
    EXPECT_EQ(badFault.exitCode(), 2);
}

TEST(SimProgram, ServesOnItsComNumberAndRemovesTheLinkOnSigterm) {
    QProcess p;
    QString seen;
    const QString line =
        StartSim(p, QStringLiteral("--unit zi2z3 --com 7 --fault garbage:2,count=1"), seen);
    ASSERT_FALSE(line.isEmpty()) << seen.toStdString();
    const QStringList parts = line.split(QLatin1Char(' '));
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0], QStringLiteral("COM7"));
    EXPECT_EQ(parts[2], QStringLiteral("ZI2-Z3"));
    const QString link = platform::PortsFolder() + QStringLiteral("/COM7");
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), parts[1]);

    {
        Port port(link);
        ASSERT_TRUE(port.isOpen());
        port.send(sim::Zi2z3Unit::BenchCommand(0x00));
        EXPECT_EQ(port.read(6, 2000), (Bytes{0xFF, 0x00, 0x53, 0x00, 0x00, 0x53}));
    }
    StopSim(p);
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the link is gone after SIGTERM";
}

TEST(SimProgram, DroppedLineIsPluggedInAgainWhenAsked) {
    QProcess p;
    QString seen;
    const QString first =
        StartSim(p, QStringLiteral("--unit ro4d --fault drop,count=1 --replug 100"), seen);
    ASSERT_FALSE(first.isEmpty()) << seen.toStdString();
    const QString link = platform::PortsFolder() + QLatin1Char('/') + first.section(' ', 0, 0);
    {
        Port port(link);
        port.send(sim::Ro4dRequest(0));
        EXPECT_TRUE(port.hungUp(2000));
    }
    EXPECT_FALSE(WaitForLine(p, QStringLiteral("plugged in again"), seen).isEmpty());
    {
        Port port(link);
        ASSERT_TRUE(port.isOpen());
        port.send(sim::Ro4dRequest(0));
        EXPECT_EQ(port.read(27, 2000).size(), 27u);
    }
    StopSim(p);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}
