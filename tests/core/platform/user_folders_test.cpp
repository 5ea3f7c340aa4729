// Where the per-user files live: the rules for both systems from given bases,
// then this system's own answer (run on Linux and under Wine).
#include "platform/user_folders.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::UserFolderBases;

struct FolderCase {
    const char* what;
    UserFolderBases bases;
    const char* config;
    const char* data;
};

TEST(UserFolders, ConfigAndDataFoldersOfEachSystem) {
    const FolderCase cases[] = {
        {"Linux, no XDG",
         {false, "/home/t", "", "", "", ""},
         "/home/t/.config/relcon4",
         "/home/t/.local/share/relcon4"},
        {"Linux, XDG set",
         {false, "/home/t", "/x/cfg", "/x/data", "C:/R", "C:/L"},
         "/x/cfg/relcon4",
         "/x/data/relcon4"},
        // XDG variables a Unix shell hands down to a Windows process are not obeyed.
        {"Windows",
         {true, "C:/Users/t", "/x/cfg", "/x/data", "C:/Users/t/AppData/Roaming",
          "C:/Users/t/AppData/Local"},
         "C:/Users/t/AppData/Roaming/Relcon4",
         "C:/Users/t/AppData/Local/Relcon4"},
        {"Windows, no known folders",
         {true, "C:/Users/t", "", "", "", ""},
         "C:/Users/t/AppData/Roaming/Relcon4",
         "C:/Users/t/AppData/Local/Relcon4"},
    };
    for (const FolderCase& c : cases) {
        EXPECT_EQ(platform::ConfigFolderOf(c.bases).toStdString(), c.config) << c.what;
        EXPECT_EQ(platform::DataFolderOf(c.bases).toStdString(), c.data) << c.what;
    }
}

TEST(UserFolders, CurrentFolderFilesLeaveOnlyAClosedProgramFolder) {
    struct Case {
        bool sameAsProgram;
        bool takesFiles;
        const char* expected;
    };
    const Case cases[] = {
        {false, true, "/work"},
        {false, false, "/work"}, // a read-only folder of the user's: its save tells so
        {true, true, "/work"},   // the zip's folder, or a per-user install
        {true, false, "/docs"},  // Program Files
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::CurrentFileFolderOf("/work", c.sameAsProgram, c.takesFiles, "/docs")
                      .toStdString(),
                  c.expected)
            << c.sameAsProgram << c.takesFiles;
}

TEST(UserFolders, ThisSystemsFolders) {
#ifdef Q_OS_WIN
    // The system's own folders, whatever XDG variables a Unix shell handed
    // down (scripts/windows runs the tests with XDG_CONFIG_HOME set).
    const auto known = [](const char* variable) {
        return QDir::fromNativeSeparators(qEnvironmentVariable(variable)) +
               QStringLiteral("/Relcon4");
    };
    const UserFolderBases system = platform::SystemFolderBases();
    EXPECT_EQ(platform::ConfigFolderOf(system).toLower(), known("APPDATA").toLower());
    EXPECT_EQ(platform::DataFolderOf(system).toLower(), known("LOCALAPPDATA").toLower());
#else
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/x/cfg");
    EXPECT_EQ(platform::ConfigFolder(), QStringLiteral("/x/cfg/relcon4"));
    EXPECT_EQ(platform::PortsFolder(), QStringLiteral("/x/cfg/relcon4/ports"));
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
#endif
    QTemporaryDir dir;
    EXPECT_TRUE(platform::FolderTakesFiles(dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList()); // the probe is gone
    EXPECT_FALSE(platform::FolderTakesFiles(dir.filePath(QStringLiteral("missing"))));
}

} // namespace
