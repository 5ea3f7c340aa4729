// The archive's SQLite file: records in and out whole, the filters, the
// schema, damaged files moved aside, two writers, and the program's recorder
// telling a failure once and keeping the record for the next command.
#include "archive/archive_recorder.h"
#include "archive/archive_store.h"
#include "exchange/exchange_host.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TArchiveRecord Make(const QString& unit, const QString& object, const QDateTime& time,
                    const QByteArray& config = QByteArray("\x00\x01\xFF", 3)) {
    TArchiveRecord r;
    r.id = NewArchiveId();
    r.time = time;
    r.unit = unit;
    r.operation = QStringLiteral("чтение");
    r.ok = true;
    r.result = QStringLiteral("Статус: выполнено");
    r.port = QStringLiteral("COM5");
    r.adapter = QStringLiteral("/dev/pts/3");
    r.ident = QStringLiteral("RO-4D v2.1");
    r.config = config;
    r.object = object;
    r.note = QStringLiteral("щит 3");
    return r;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Messages the core gives its host.
struct TToldHost : TExchangeHost {
    QStringList told;
    void plainMessage(const QString& text) override { told << text; }
};

class ArchiveStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("a/archive.sqlite")); }
};

} // namespace

TEST_F(ArchiveStoreTest, RecordsComeBackWholeNewestFirstThroughEachFilter) {
    TArchiveStore store(path());
    QString problem;
    ASSERT_TRUE(store.Open(&problem)) << problem.toStdString();
    const QDateTime t0(QDate(2026, 11, 2), QTime(9, 0));
    const QList<TArchiveRecord> records = {
        Make(kArchiveRo4d, QStringLiteral("Школа 5"), t0),
        Make(kArchiveRi1r, QStringLiteral("Школа 5"), t0.addDays(3)),
        Make(kArchiveZi2z3, QStringLiteral("Склад"), t0.addDays(10)),
        Make(kArchiveRo4d, QStringLiteral("Склад"), t0.addDays(20).addMSecs(7),
             QByteArray(148, '\x5A')),
    };
    for (const TArchiveRecord& r : records)
        ASSERT_TRUE(store.Add(r, &problem)) << problem.toStdString();
    EXPECT_EQ(*store.Find(records[3].id), records[3]);
    EXPECT_EQ(store.Objects(), (QStringList{QStringLiteral("Склад"), QStringLiteral("Школа 5")}));

    struct Case {
        const char* name;
        TArchiveFilter filter;
        QList<int> expected; // indexes into records, newest first
    };
    TArchiveFilter text;
    text.text = QStringLiteral("щит");
    const Case cases[] = {
        {"all", {}, {3, 2, 1, 0}},
        {"object", {QStringLiteral("Школа 5"), {}, {}, {}, {}}, {1, 0}},
        {"unit", {{}, kArchiveRo4d, {}, {}, {}}, {3, 0}},
        {"dates", {{}, {}, QDate(2026, 11, 5), QDate(2026, 11, 12), {}}, {2, 1}},
        {"text", text, {3, 2, 1, 0}},
        {"text, no match", {{}, {}, {}, {}, QStringLiteral("50%_")}, {}},
        {"all parts", {QStringLiteral("Склад"), kArchiveRo4d, QDate(2026, 11, 22), {}, {}}, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QList<QString> got, want;
        for (const TArchiveRecord& r : store.List(c.filter))
            got << r.id;
        for (int i : c.expected)
            want << records[i].id;
        EXPECT_EQ(got, want);
        EXPECT_EQ(store.Count(c.filter), c.expected.size());
    }
    // A list leaves the configuration out unless asked.
    EXPECT_TRUE(store.List({}, 0, 1).first().config.isEmpty());
    EXPECT_EQ(store.List({}, 0, 1, true).first().config, records[3].config);
}

TEST_F(ArchiveStoreTest, SchemaIsVersionedAndAFileOfANewerProgramIsLeftAlone) {
    {
        TArchiveStore store(path());
        ASSERT_TRUE(store.Open(nullptr));
    }
    {
        auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(path());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), TArchiveStore::SchemaVersion());
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("wal"));
        ASSERT_TRUE(q.exec(
            QStringLiteral("PRAGMA user_version=%1").arg(TArchiveStore::SchemaVersion() + 1)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    TArchiveStore store(path());
    QString problem;
    EXPECT_FALSE(store.Open(&problem));
    EXPECT_TRUE(problem.contains(QStringLiteral("более новой версией"))) << problem.toStdString();
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("a"))).entryList({"*damaged*"}).size());
}

TEST_F(ArchiveStoreTest, DamagedFileIsMovedAsideUnderADatedNameNeverDeleted) {
    QByteArray sqliteButBroken;
    {
        TArchiveStore store(path());
        ASSERT_TRUE(store.Open(nullptr));
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(store.Add(Make(kArchiveRo4d, QStringLiteral("x"),
                                       QDateTime::currentDateTime(), QByteArray(2000, 'c'))));
    }
    sqliteButBroken = ReadAll(path());
    ASSERT_GT(sqliteButBroken.size(), 8192);
    // Pages past the header overwritten: the file still says it is SQLite.
    sqliteButBroken.replace(4096, 4096, QByteArray(4096, '\xA5'));
    const QByteArray contents[] = {QByteArray("это не база данных, а текст\n").repeated(200),
                                   sqliteButBroken};
    for (const QByteArray& bytes : contents) {
        QDir(dir.filePath(QStringLiteral("a"))).removeRecursively();
        QDir().mkpath(dir.filePath(QStringLiteral("a")));
        {
            QFile f(path());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        TArchiveStore store(path());
        QString problem, cause;
        // A foreign file is told at once; broken pages of a closed file when a write meets them.
        ASSERT_TRUE(store.Open(&problem)) << problem.toStdString();
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(store.Add(
                Make(kArchiveRi1r, {}, QDateTime::currentDateTime(), QByteArray(2000, 'd')),
                &problem))
                << problem.toStdString();
        const QString aside = store.TakeMovedAside(&cause);
        EXPECT_TRUE(aside.contains(QStringLiteral(".damaged-"))) << aside.toStdString();
        EXPECT_FALSE(cause.isEmpty());
        EXPECT_EQ(ReadAll(aside), bytes);
        EXPECT_EQ(store.Count(), 50);
    }
}

TEST_F(ArchiveStoreTest, TwoWritersOnOneFileKeepEveryRecord) {
    TArchiveStore first(path()), second(path());
    ASSERT_TRUE(first.Open(nullptr));
    ASSERT_TRUE(second.Open(nullptr));
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE((i % 2 ? first : second)
                        .Add(Make(kArchiveRo4d, QString::number(i), QDateTime::currentDateTime())));
    }
    EXPECT_EQ(first.Count(), 20);
    EXPECT_EQ(second.Count(), 20);
}

// The data folder unusable (it is a file here, which even root cannot write
// into): one message naming the path and the cause, however many commands
// fail; the records wait and are all written once the folder is there.
TEST(ArchiveRecorderTest, UnwritableFolderIsToldOnceAndRecordsWaitForTheNextCommand) {
    testenv::IsolateUserFolders();
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("data"));
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    testenv::SetDataFolderBase(blocker);
    ResetProgramArchive();
    TToldHost host;
    TExchangeHost* previous = setExchangeHost(&host);
    SetArchiveObject(QStringLiteral("Больница"), false);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(RecordToArchive(Make(kArchiveRo4d, {}, QDateTime::currentDateTime())));
    ASSERT_EQ(host.told.size(), 1) << host.told.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(host.told[0].contains(ArchiveFilePath())) << host.told[0].toStdString();
    EXPECT_TRUE(host.told[0].contains(QStringLiteral("не удаётся создать")));
    EXPECT_EQ(ArchiveWaiting(), 3);

    QFile::remove(blocker);
    EXPECT_TRUE(RecordToArchive(Make(kArchiveRi1r, {}, QDateTime::currentDateTime())));
    EXPECT_EQ(ArchiveWaiting(), 0);
    EXPECT_EQ(ProgramArchive().Count({QStringLiteral("Больница"), {}, {}, {}, {}}), 4);
    EXPECT_EQ(host.told.size(), 1);
    setExchangeHost(previous);
    ResetProgramArchive();
    testenv::IsolateUserFolders();
}

// Another copy holding the file for writing past the wait: told once with
// the path and the cause, the record waits and goes in after.
TEST(ArchiveRecorderTest, FileLockedByAnotherCopyIsToldAndTheRecordGoesInAfter) {
    testenv::IsolateUserFolders();
    ResetProgramArchive();
    QFile::remove(ArchiveFilePath());
    TToldHost host;
    TExchangeHost* previous = setExchangeHost(&host);
    ASSERT_TRUE(RecordToArchive(Make(kArchiveRo4d, {}, QDateTime::currentDateTime())));
    {
        auto other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copy"));
        other.setDatabaseName(ArchiveFilePath());
        ASSERT_TRUE(other.open());
        QSqlQuery hold(other);
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        EXPECT_FALSE(RecordToArchive(Make(kArchiveRi1r, {}, QDateTime::currentDateTime())));
        ASSERT_TRUE(hold.exec(QStringLiteral("ROLLBACK")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("copy"));
    ASSERT_EQ(host.told.size(), 1);
    EXPECT_TRUE(host.told[0].contains(ArchiveFilePath()));
    EXPECT_TRUE(host.told[0].contains(QStringLiteral("занята другой копией")))
        << host.told[0].toStdString();
    EXPECT_EQ(ArchiveWaiting(), 1);
    EXPECT_TRUE(RecordToArchive(Make(kArchiveZi2z3, {}, QDateTime::currentDateTime())));
    EXPECT_EQ(ProgramArchive().Count(), 3);
    setExchangeHost(previous);
    ResetProgramArchive();
}
