// relcon4-cli and the archive: a unit command leaves its record (unless
// --no-archive), the records can be listed, shown, exported and compared,
// and pushed to a real PostgreSQL server that the test starts itself.
#include "archive/archive_recorder.h"
#include "devices/qv4m/qv4m_files.h"
#include "support/test_env.h"

#include "ro4d_unit.h"
#include "sim_server.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct TCliRun {
    int code = -1;
    QString out, err;
};

// A program to its end; the deadline is only a guard against a hang.
TCliRun RunProgram(const QString& program, const QStringList& args, const QString& user = {}) {
    QProcess p;
    if (user.isEmpty())
        p.start(program, args);
    else
        p.start(QStringLiteral("runuser"), QStringList{"-u", user, "--", program} + args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TCliRun Cli(const QStringList& args) {
    return RunProgram(testenv::BinaryDir() + QStringLiteral("/relcon4-cli"), args);
}

QStringList Ids(const QString& json) {
    QStringList ids;
    for (const auto& v : QJsonDocument::fromJson(json.toUtf8()).array())
        ids << v.toObject().value(QStringLiteral("id")).toString();
    return ids;
}

const QStringList kExchange{"--timeout", "300", "--pause", "5", "--attempts", "1"};

} // namespace

TEST(ArchiveCliTest, CommandsRecordAndTheRecordsAreListedShownExportedCompared) {
    ResetProgramArchive();
    QFile::remove(ArchiveFilePath());
    QTemporaryDir dir;
    sim::SimServer server(std::make_unique<sim::Ro4dUnit>());
    const QString com = server.start();
    ASSERT_FALSE(com.isEmpty());
    const QString file = dir.filePath(QStringLiteral("unit.qvf"));
    ASSERT_EQ(Cli(kExchange +
                  QStringList{"ro4d", "read", "--port", com, "-o", file, "--object", "Склад 2"})
                  .code,
              0);
    ASSERT_EQ(Cli(kExchange + QStringList{"ro4d", "read", "--port", com, "--no-archive"}).code, 0);
    server.unit<sim::Ro4dUnit>()->registers()[5] ^= 1;
    ASSERT_EQ(Cli(kExchange + QStringList{"ro4d", "read", "--port", com}).code, 0);

    const TCliRun listed = Cli({"archive", "list", "--json"});
    ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
    const QStringList ids = Ids(listed.out);
    ASSERT_EQ(ids.size(), 2) << listed.out.toStdString();
    EXPECT_EQ(Ids(Cli({"archive", "list", "--json", "--object", "Склад 2"}).out),
              QStringList{ids[1]});
    EXPECT_EQ(Ids(Cli({"archive", "list", "--json", "--unit", "ri1r"}).out), QStringList{});
    EXPECT_EQ(Cli({"archive", "list", "--unit", "xx"}).code, 2);

    const TCliRun shown = Cli({"archive", "show", ids[1]});
    EXPECT_TRUE(shown.out.contains(QStringLiteral("Объект: Склад 2"))) << shown.out.toStdString();
    const QString exported = dir.filePath(QStringLiteral("back.qvf"));
    ASSERT_EQ(Cli({"archive", "export", ids[1], "-o", exported}).code, 0);
    QFile a(file), b(exported);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
    EXPECT_EQ(Cli({"archive", "diff", ids[1], ids[1]}).code, 0);
    EXPECT_EQ(Cli({"archive", "diff", ids[1], ids[0]}).code, 1);
    EXPECT_EQ(Cli({"archive", "show", "no-such-id"}).code, 6);
}

// A server of its own in a temporary folder, on a Unix socket only, run as
// an unprivileged user (the server refuses root). Two pushes, and a third
// after one more record: nothing is ever on the server twice.
TEST(ArchiveCliTest, PushTwiceLeavesNoDuplicateOnARealPostgres) {
    QString bin;
    for (const QString& v :
         QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFile::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/pg_ctl").arg(v)))
            bin = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(v);
    if (bin.isEmpty())
        GTEST_SKIP() << "PostgreSQL server binaries (/usr/lib/postgresql/*/bin) are not installed";
    const QString user = geteuid() == 0 ? QStringLiteral("nobody") : QString();
    QTemporaryDir dir(QStringLiteral("/tmp/relcon4-pg-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    if (!user.isEmpty()) {
        ASSERT_EQ(RunProgram(QStringLiteral("chown"), {user, dir.path()}).code, 0);
    }
    const QString data = dir.filePath(QStringLiteral("data"));
    const TCliRun init =
        RunProgram(bin + QStringLiteral("initdb"),
                   {"-D", data, "-A", "trust", "-U", "relcon4", "-E", "UTF8"}, user);
    ASSERT_EQ(init.code, 0) << init.err.toStdString();
    const QString options =
        QStringLiteral("-c listen_addresses='' -k %1 -c fsync=off").arg(dir.path());
    const TCliRun started =
        RunProgram(bin + QStringLiteral("pg_ctl"),
                   {"-D", data, "-o", options, "-l", dir.filePath("log"), "-w", "start"}, user);
    ASSERT_EQ(started.code, 0) << started.err.toStdString() << started.out.toStdString();
    struct TStop {
        QString bin, data, user;
        ~TStop() {
            RunProgram(bin + QStringLiteral("pg_ctl"), {"-D", data, "-m", "fast", "-w", "stop"},
                       user);
        }
    } stop{bin, data, user};

    ResetProgramArchive();
    QFile::remove(ArchiveFilePath());
    TArchiveRecord r;
    r.unit = kArchiveRo4d;
    r.operation = QStringLiteral("чтение");
    r.config = QByteArray(148, '\x01');
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(RecordToArchive(r));
    ResetProgramArchive();
    const QString url = QStringLiteral("postgresql://relcon4@/postgres?host=") + dir.path();
    const QString pushes[][2] = {{"3", "0"}, {"0", "3"}};
    for (const auto& counts : pushes) {
        const TCliRun pushed = Cli({"archive", "push", "--to", url});
        ASSERT_EQ(pushed.code, 0) << pushed.err.toStdString();
        EXPECT_EQ(pushed.out.trimmed(),
                  QStringLiteral("Передано записей: %1, уже были на сервере: %2")
                      .arg(counts[0], counts[1]));
    }
    ASSERT_TRUE(RecordToArchive(r));
    ResetProgramArchive();
    EXPECT_TRUE(
        Cli({"archive", "push", "--to", url}).out.contains(QStringLiteral("Передано записей: 1,")));
    const QStringList remote = Ids(Cli({"archive", "list", "--json", "--from", url}).out);
    const QStringList local = Ids(Cli({"archive", "list", "--json"}).out);
    EXPECT_EQ(remote.size(), 4);
    EXPECT_EQ(remote, local);
    EXPECT_EQ(
        Cli({"archive", "list", "--from", "postgresql://relcon4@/nosuchdb?host=" + dir.path()})
            .code,
        6);
}
