// Each file the program writes, under the ways a write goes wrong: the
// process killed in the middle, a full disk, a folder that refuses the write,
// a folder that is missing, a folder where the file should be, a name too
// long. The old file must stay whole, the user must be told, and memory
// must keep what the user entered.
#include "child_process.h"
#include "writers.h"

#include "devices/qv1m/qv1m_page.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/qv4m_registers.h"
#include "port/settings_file.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <random>

using namespace files_test;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

constexpr QFileDevice::Permissions kOpenFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
constexpr QFileDevice::Permissions kReadOnlyFolder = kOpenFolder & ~QFileDevice::WriteOwner;

// What a save in a child left in memory and told the user.
struct TChildSave {
    int variant = -1;
    QString told;
};

QByteArray encode(int variant, const QString& told) {
    return QByteArray::number(variant) + '\n' + told.toUtf8();
}

TChildSave decode(const QByteArray& report) {
    const qsizetype cut = report.indexOf('\n');
    if (cut < 0)
        return {};
    return {report.left(cut).toInt(), QString::fromUtf8(report.mid(cut + 1))};
}

} // namespace

class WriterTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        savedOverride_ = SettingsDirOverride;
        savedCwd_ = QDir::currentPath();
        ResetQv4mRegisters();
        CreateAppWindows(false);
        Relcon4->prActivateMasterForm(nullptr);
        world_.pages = Qv4mPagesOf(Relcon4);
        world_.commands = Relcon4->findChild<TQv4mCommandsPage*>();
        world_.ri1r = Relcon4->findChild<TQv1mPage*>();
        ASSERT_TRUE(world_.pages && world_.commands && world_.ri1r);
        writers_ = MakeWriters(world_);
        w = &writers_[static_cast<std::size_t>(GetParam())];
        ASSERT_TRUE(root_.isValid());
        // A child that gave up root rights must still reach the folder.
        QFile::setPermissions(root_.path(), kOpenFolder);
        folder = root_.filePath(QStringLiteral("files"));
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    void TearDown() override {
        QDir::setCurrent(savedCwd_);
        SettingsDirOverride = savedOverride_;
        QFile::setPermissions(folder, kOpenFolder);
        DestroyAppWindows();
        ResetQv4mRegisters();
    }

    QString target(const QString& dir) const { return QDir(dir).filePath(w->fileName); }
    // The current-folder files go where the program was started.
    void enter(const QString& dir) const {
        if (w->inCurrentFolder) {
            ASSERT_TRUE(QDir::setCurrent(dir));
        }
    }

    // Saves the new values, then the old ones over them: the folder holds the
    // old file, and both files' bytes are known.
    void writeOldAndNew() {
        enter(folder);
        w->setVariant(1);
        w->save(folder);
        ASSERT_EQ(w->told(), w->toldSuccess);
        newBytes = readAll(target(folder));
        w->setVariant(0);
        QElapsedTimer timer;
        timer.start();
        w->save(folder);
        saveTime = std::chrono::microseconds(timer.nsecsElapsed() / 1000);
        ASSERT_EQ(w->told(), w->toldSuccess);
        oldBytes = readAll(target(folder));
        ASSERT_FALSE(oldBytes.isEmpty());
        ASSERT_NE(oldBytes, newBytes);
    }

    // Everything in the folder but the file itself.
    QStringList strays() const {
        QStringList found = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                   QDir::NoDotAndDotDot);
        found.removeAll(w->fileName);
        return found;
    }

    // The program's own loader reads the variant back (when it has one).
    void expectLoads(int variant) const {
        if (!w->load)
            return;
        EXPECT_EQ(w->load(folder), variant);
        EXPECT_EQ(w->told(), w->toldSuccess);
    }

    // A save of the new values in a child under the limits.
    TChildEnd saveInChild(const TChildLimits& limits) const {
        return RunInChild(
            [this] {
                w->setVariant(1);
                w->save(folder);
                return encode(w->variantInMemory(), w->told());
            },
            limits);
    }

    // The save failed: the user was told, memory keeps the new values, the
    // old file is whole and nothing else was left beside it.
    void expectRefusedSave(const TChildEnd& end, const QString& cause) const {
        ASSERT_TRUE(end.exited) << "ended by signal " << end.signal;
        ASSERT_EQ(end.code, 0);
        const TChildSave save = decode(end.report);
        EXPECT_TRUE(w->toldFailure(save.told)) << save.told.toStdString();
        EXPECT_TRUE(!w->toldsCause || save.told.contains(cause)) << save.told.toStdString();
        EXPECT_EQ(save.variant, 1) << "the values entered stay in memory";
        EXPECT_EQ(readAll(target(folder)), oldBytes);
        EXPECT_EQ(strays(), QStringList());
    }

    TWorld world_;
    std::vector<TWriter> writers_;
    TWriter* w = nullptr;
    QTemporaryDir root_;
    QString folder;
    QByteArray oldBytes;
    QByteArray newBytes;
    // How long one save took here, to spread the kills over a few of them.
    std::chrono::microseconds saveTime{};

private:
    QString savedOverride_;
    QString savedCwd_;
};

// Killed by the kernel as it writes byte k of the new file, for k at the
// start, one byte in, half-way and one byte short of the end.
TEST_P(WriterTest, KilledAtEachStageOfTheWriteLeavesTheOldFile) {
    writeOldAndNew();
    const long long size = newBytes.size();
    for (long long at : {0LL, 1LL, size / 2, size - 1}) {
        SCOPED_TRACE(at);
        const TChildEnd end = RunInChild(
            [this] {
                w->setVariant(1);
                w->save(folder);
                return QByteArray("finished");
            },
            {at, false, false});
        EXPECT_EQ(end.signal, SIGXFSZ) << "the child finished the write: " << end.report.data();
        EXPECT_EQ(readAll(target(folder)), oldBytes);
    }
    RecordProperty("strays_after_kills", static_cast<int>(strays().size()));
    expectLoads(0);
    // Whatever a killed save left behind does not stand in the next one's way.
    w->setVariant(1);
    w->save(folder);
    EXPECT_EQ(w->told(), w->toldSuccess);
    EXPECT_EQ(readAll(target(folder)), newBytes);
}

// A child saves the two sets in turn as fast as it can and is killed with
// SIGKILL at a random moment; the file is then one of the two, whole. The
// delay before the kill is the point of the test, not a wait for something.
TEST_P(WriterTest, KilledAtRandomMomentsLeavesOneWholeFile) {
    writeOldAndNew();
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delayUs(0, 3 * saveTime.count() + 500);
    int seen[2] = {0, 0};
    for (int round = 0; round < 16; ++round) {
        const bool killed = KillWhileLooping(
            [this](int i) {
                w->setVariant(1 - i % 2);
                w->save(folder);
            },
            std::chrono::microseconds(delayUs(random)));
        ASSERT_TRUE(killed);
        const QByteArray now = readAll(target(folder));
        ASSERT_TRUE(now == oldBytes || now == newBytes)
            << "round " << round << ": " << now.size() << " bytes";
        ++seen[now == newBytes ? 1 : 0];
    }
    RecordProperty("old_file_seen", seen[0]);
    RecordProperty("new_file_seen", seen[1]);
    if (w->load) {
        EXPECT_NE(w->load(folder), -1);
    }
}

// A full disk, as a cap on file size: writes past it fail with EFBIG.
TEST_P(WriterTest, FullDiskSaysSoAndKeepsTheOldFile) {
    writeOldAndNew();
    const long long size = std::min(oldBytes.size(), newBytes.size());
    for (long long room : {0LL, size / 2}) {
        SCOPED_TRACE(room);
        expectRefusedSave(saveInChild({room, true, false}),
                          QStringLiteral("ошибка записи на диск"));
    }
    expectLoads(0);
}

// For a root run the child gives up root rights, or the folder would not stop it.
TEST_P(WriterTest, ReadOnlyFolderSaysSoAndKeepsTheOldFile) {
    writeOldAndNew();
    ASSERT_TRUE(QFile::setPermissions(folder, kReadOnlyFolder));
    const TChildEnd end = saveInChild({-1, true, true});
    if (end.exited && end.code == 125) {
        GTEST_SKIP() << "cannot give up root rights here";
    }
    expectRefusedSave(end, QStringLiteral("нет прав на запись в папку"));
    QFile::setPermissions(folder, kOpenFolder);
    expectLoads(0);
}

TEST_P(WriterTest, MissingFolderIsMadeOrReported) {
    writeOldAndNew();
    const QString gone = root_.filePath(QStringLiteral("gone/deeper"));
    if (w->inCurrentFolder) {
        // The folder the program was started in has been deleted since.
        ASSERT_TRUE(QDir().mkpath(gone));
        enter(gone);
        ASSERT_TRUE(QDir(root_.filePath(QStringLiteral("gone"))).removeRecursively());
    }
    w->setVariant(1);
    w->save(gone);
    if (w->makesItsFolder) {
        EXPECT_EQ(w->told(), w->toldSuccess);
        EXPECT_EQ(readAll(target(gone)), newBytes);
    } else {
        EXPECT_TRUE(w->toldFailure(w->told())) << w->told().toStdString();
        EXPECT_TRUE(!w->toldsCause || w->told().contains(QStringLiteral("текущая папка удалена")))
            << w->told().toStdString();
        EXPECT_FALSE(QFileInfo::exists(root_.filePath(QStringLiteral("gone"))));
    }
    EXPECT_EQ(w->variantInMemory(), 1);
}

TEST_P(WriterTest, FolderInPlaceOfTheFileIsReportedAndKept) {
    enter(folder);
    ASSERT_TRUE(QDir(folder).mkdir(w->fileName));
    QFile inside(QDir(target(folder)).filePath(QStringLiteral("keep")));
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write("x");
    inside.close();
    w->setVariant(1);
    w->save(folder);
    EXPECT_TRUE(w->toldFailure(w->told())) << w->told().toStdString();
    EXPECT_TRUE(!w->toldsCause || w->told().contains(QStringLiteral("на месте файла папка")))
        << w->told().toStdString();
    EXPECT_EQ(readAll(inside.fileName()), QByteArray("x"));
    EXPECT_EQ(w->variantInMemory(), 1);
    EXPECT_EQ(strays(), QStringList());
}

// A folder name past the system's limit for one name.
TEST_P(WriterTest, NameTooLongIsReported) {
    if (w->inCurrentFolder) {
        GTEST_SKIP() << "a fixed short name in the folder the program runs in";
    }
    const QString tooLong = root_.filePath(QString(300, QLatin1Char('a')));
    w->setVariant(1);
    w->save(tooLong);
    EXPECT_TRUE(w->toldFailure(w->told())) << w->told().toStdString();
    EXPECT_TRUE(!w->toldsCause || w->told().contains(QStringLiteral("не создаётся")))
        << w->told().toStdString();
    EXPECT_EQ(w->variantInMemory(), 1);
}

INSTANTIATE_TEST_SUITE_P(Files, WriterTest, ::testing::Range(0, kWriterCount),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(WriterLabel(info.param));
                         });
