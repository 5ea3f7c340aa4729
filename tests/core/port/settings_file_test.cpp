// rs_m.ini on disk: first start, restarts, damaged files, where the file lives.
#include "settings_fixture.h"

#include "exchange/log_model.h"
#include "platform/user_folders.h"
#include "support/recording_interaction.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QByteArray kFirstStartFile =
    QByteArray("100\r\n100\r\n000000\x03\r\nCOM1\r\n0\r\nCOM2\r\n0\r\n"
               "COM3\r\n0\r\nF4528F5FC699D611F9F105820CFC66B5\r\n");

} // namespace

using SettingsFile = SettingsFixture;

TEST_F(SettingsFile, FirstStartUsesDefaultsAndWritesTheDefaultFile) {
    TimeOut = 777;
    ExchangeState.NumOfRepeat = 50;
    LoadSettings();
    EXPECT_EQ(TimeOut, 100);
    EXPECT_EQ(PreSendPause, 100);
    EXPECT_EQ(ExchangeState.NumOfRepeat, 3);
    EXPECT_EQ(LogFontSize, 8);
    EXPECT_TRUE(ExchangeState.PortName[0].isEmpty());
    EXPECT_EQ(FileBytes(), kFirstStartFile);
    // The next start takes COM1 from it.
    ExchangeState.ResetChannels();
    LoadSettings();
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM1"));
}

TEST_F(SettingsFile, TheChosenPortSurvivesRestarts) {
    TimeOut = 350;
    PreSendPause = 15;
    ExchangeState.NumOfRepeat = 10;
    LogHex = true;
    DtrOn = true;
    ExchangeState.PortName[0] = QStringLiteral("COM9");
    ASSERT_TRUE(SaveSettings());
    const QByteArray saved = FileBytes();
    for (int start = 0; start < 3; ++start) {
        ResetExchangeSettings();
        ExchangeState.Reset();
        LoadSettings();
        EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM9"));
        EXPECT_TRUE(ExchangeState.PortName[1].isEmpty());
        EXPECT_EQ(TimeOut, 350);
        EXPECT_EQ(PreSendPause, 15);
        EXPECT_EQ(ExchangeState.NumOfRepeat, 10);
        EXPECT_TRUE(LogHex);
        EXPECT_TRUE(DtrOn);
        EXPECT_EQ(FileBytes(), saved) << "a matching file is left as it is";
    }
}

TEST_F(SettingsFile, ADamagedFileIsRewrittenWithTheValuesInUse) {
    PutFile("5000\r\n7\r\n100000\x19\r\nCOM4\r\n0\r\nCOM5\r\n0\r\nCOM6\r\n0\r\n"
            "0123456789ABCDEF0123456789ABCDEF\r\n");
    LoadSettings();
    EXPECT_EQ(TimeOut, 5000);
    EXPECT_EQ(PreSendPause, 100);
    EXPECT_EQ(LogFontSize, 12);
    EXPECT_EQ(ExchangeState.NumOfRepeat, 25);
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM4"));
    EXPECT_EQ(ExchangeState.PortName[2], QStringLiteral("COM6"));
    const QByteArray rewritten = FileBytes();
    EXPECT_TRUE(rewritten.startsWith(QByteArray("5000\r\n100\r\n100000\x19\r\nCOM1\r\n0\r\nCOM2")));
    EXPECT_FALSE(ReadSettingsText(rewritten).Rewrite);
}

TEST_F(SettingsFile, APauseBeyondTheDialogsMaximumIsCutToItAndSaidOnce) {
    const struct {
        const char* line;
        int pause;
    } cases[] = {{"-1", 30000},         {"-5", 30000},    {"100000", 30000},
                 {"2147483647", 30000}, {"30000", 30000}, {"101", 101}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        PutFile(QByteArray("100\r\n") + c.line + "\r\n000000\x03\r\n");
        QStringList said;
        QObject guard;
        QObject::connect(&ExchangeLog(), &TLogModel::lineAdded, &guard,
                         [&](const TLogLine& line) { said << line.text; });
        LoadSettings();
        EXPECT_EQ(PreSendPause, c.pause);
        EXPECT_EQ(said.filter(QStringLiteral("больше наибольшей")).size(),
                  c.pause == 30000 && qstrcmp(c.line, "30000") != 0 ? 1 : 0)
            << said.join('|').toStdString();
    }
}

TEST_F(SettingsFile, SaveReplacesTheFileWholeAndLeavesNothingElse) {
    PutFile(QByteArray(4096, 'x'));
    ExchangeState.PortName = {QStringLiteral("COM3"), QStringLiteral("COM4")};
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(FileBytes(),
              SettingsText(CurrentSettings(), {QStringLiteral("COM3"), QStringLiteral("COM4")}));
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("rs_m.ini")});
}

TEST_F(SettingsFile, AFolderThatCannotBeMadeSkipsTheSaveAndSaysSo) {
    RecordingInteraction user;
    QFile blocker(Folder() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsDirOverride = blocker.fileName() + QStringLiteral("/inside");
    TimeOut = 700;
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(TimeOut, 700);
    LoadSettings(); // cannot rewrite either: the run goes on with the defaults
    EXPECT_EQ(TimeOut, 100);
    const QString told = SettingsNotSavedText(
        SettingsDirOverride + QStringLiteral("/rs_m.ini"),
        QStringLiteral("папка %1 не создаётся").arg(QDir::toNativeSeparators(SettingsDirOverride)));
    EXPECT_EQ(user.texts(), QStringList({told, told}));
}

TEST_F(SettingsFile, LivesBesideTheProgramOrInTheUserFolder) {
    SettingsDirOverride.clear();
    ExeDir = Folder() + QStringLiteral("/");
    EXPECT_EQ(SettingsFilePath(), FilePath());

    // An installed copy: its folder is not writable (here: not there at all).
    ExeDir = Folder() + QStringLiteral("/installed/");
    const QString userFile = platform::ConfigFolder() + QStringLiteral("/rs_m.ini");
    QFile::remove(userFile);
    EXPECT_EQ(SettingsFilePath(), userFile);
    LoadSettings();
    QFile written(userFile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), kFirstStartFile);
    EXPECT_FALSE(QFileInfo::exists(ExeDir));
    QFile::remove(userFile);
}

TEST_F(SettingsFile, AnInstalledCopyStartsFromTheFileShippedBesideIt) {
    SettingsDirOverride.clear();
    const QString installed = Folder() + QStringLiteral("/installed");
    ASSERT_TRUE(QDir().mkpath(installed));
    ExeDir = installed + QStringLiteral("/");
    TimeOut = 400;
    ExchangeState.PortName[0] = QStringLiteral("COM8");
    ASSERT_TRUE(SaveSettings()); // still writable: written beside the program
    ResetExchangeSettings();
    ExchangeState.Reset();

    QFile::setPermissions(installed, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(installed).isWritable()) {
        QFile::setPermissions(installed, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
        GTEST_SKIP() << "this user can write into any folder";
    }
    const QString userFile = platform::ConfigFolder() + QStringLiteral("/rs_m.ini");
    QFile::remove(userFile);
    EXPECT_EQ(SettingsFilePath(), userFile);
    LoadSettings();
    EXPECT_EQ(TimeOut, 400);
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM8"));
    TimeOut = 450;
    EXPECT_TRUE(SaveSettings());
    EXPECT_TRUE(QFileInfo::exists(userFile));
    QFile::setPermissions(installed,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::remove(userFile);
}
