// The archive against what the machine does to it: a copy killed with
// SIGKILL in the middle of a record, and a full disk. Every record written
// before stays, and the file stays sound.
#include "child_process.h"

#include "archive/archive_recorder.h"
#include "archive/archive_store.h"
#include "exchange/exchange_host.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace files_test;

namespace {

TArchiveRecord Numbered(int n, int configBytes = 148) {
    TArchiveRecord r;
    r.id = QStringLiteral("rec-%1").arg(n, 6, 10, QLatin1Char('0'));
    r.time = QDateTime::currentDateTime();
    r.unit = kArchiveRo4d;
    r.operation = QStringLiteral("чтение");
    r.ok = true;
    r.result = QStringLiteral("Статус: выполнено");
    r.config = QByteArray(configBytes, static_cast<char>(n));
    return r;
}

// integrity_check of the file through a connection of its own.
QString Integrity(const QString& path) {
    QString verdict;
    {
        auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
                verdict = q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return verdict;
}

struct TToldHost : TExchangeHost {
    QStringList told;
    void plainMessage(const QString& text) override { told << text; }
};

} // namespace

// A child records as fast as it can and is killed at a random moment, eight
// times over one file: every record it finished is there, in order, and
// nothing else is broken. The delay before the kill is the point of the
// test, not a wait for something.
TEST(ArchiveFaultsTest, KilledDuringARecordLeavesASoundFileWithEveryEarlierRecord) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(2000, 60000);
    int next = 0;
    for (int round = 0; round < 8; ++round) {
        const int first = next;
        ASSERT_TRUE(KillWhileLooping(
            [&](int i) {
                static TArchiveStore* store = nullptr;
                if (!store) {
                    store = new TArchiveStore(path);
                    if (!store->Open(nullptr))
                        _exit(3);
                }
                store->Add(Numbered(first + i, 4000));
            },
            std::chrono::microseconds(delayUs(random))));
        ASSERT_EQ(Integrity(path), QStringLiteral("ok")) << "round " << round;
        TArchiveStore store(path);
        ASSERT_TRUE(store.Open(nullptr));
        const QList<TArchiveRecord> all = store.List({}, 0, -1, true);
        std::set<QString> ids;
        for (const TArchiveRecord& r : all) {
            ids.insert(r.id);
            ASSERT_EQ(r.config.size(), 4000);
        }
        // Records 0 .. n-1 and nothing more: none lost, none half there.
        next = static_cast<int>(ids.size());
        ASSERT_GE(next, first) << "round " << round;
        for (int n = 0; n < next; ++n)
            ASSERT_TRUE(ids.count(Numbered(n).id)) << "round " << round << ", record " << n;
    }
    // The children did record: the rounds were no empty runs.
    EXPECT_GT(next, 0);
    RecordProperty("records_written", next);
}

// A full disk, as a cap on file size: the record that does not fit is told
// once (path and cause), waits for the next command, and the records
// written before it stay whole.
TEST(ArchiveFaultsTest, FullDiskIsToldOnceAndLosesNoEarlierRecord) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    ResetProgramArchive();
    for (int n = 0; n < 3; ++n)
        ASSERT_TRUE(RecordToArchive(Numbered(n)));
    const QString path = ArchiveFilePath();
    ResetProgramArchive();

    const TChildEnd end = RunInChild(
        [] {
            TToldHost host;
            setExchangeHost(&host);
            bool anyWritten = false;
            for (int n = 3; n < 6; ++n)
                anyWritten |= RecordToArchive(Numbered(n, 256 * 1024));
            return QStringLiteral("%1|%2|%3")
                .arg(anyWritten)
                .arg(ArchiveWaiting())
                .arg(host.told.join(QLatin1Char('\n')))
                .toUtf8();
        },
        {64 * 1024, true, false});
    ASSERT_TRUE(end.exited) << end.signal;
    const QStringList parts = QString::fromUtf8(end.report).split(QLatin1Char('|'));
    ASSERT_EQ(parts.size(), 3) << end.report.data();
    EXPECT_EQ(parts[0], QStringLiteral("0"));
    EXPECT_EQ(parts[1], QStringLiteral("3"));
    EXPECT_EQ(parts[2].count(QLatin1Char('\n')), 0) << "one message: " << end.report.data();
    EXPECT_TRUE(parts[2].contains(path)) << end.report.data();

    EXPECT_EQ(Integrity(path), QStringLiteral("ok"));
    TArchiveStore store(path);
    ASSERT_TRUE(store.Open(nullptr));
    EXPECT_EQ(store.Count(), 3);
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(store.Find(Numbered(n).id)->config, Numbered(n).config);
}
