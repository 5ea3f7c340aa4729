// An installed copy finds its documents and keeps its settings per user,
// wherever its root is; a build folder keeps rs_m.ini beside the program.
#include "platform/user_folders.h"
#include "port/settings_file.h"
#include "shell/app_globals.h"
#include "shell/install_layout.h"

#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

class InstallLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ResetAppGlobals();
        SettingsDirOverride.clear();
    }
    void TearDown() override { ResetAppGlobals(); }
    QString path(const QString& rel) const { return root.filePath(rel); }
    QTemporaryDir root;
};

TEST_F(InstallLayoutTest, InstalledCopyIsFoundRelativeToItsBinFolder) {
    Touch(path("usr/share/doc/relcon4/README.md"));
    QDir().mkpath(path("usr/bin"));
    const QString bin = path("usr/bin") + QLatin1Char('/');
    EXPECT_EQ(InstalledDocDir(bin), QDir::cleanPath(path("usr/share/doc/relcon4")));
    EXPECT_TRUE(IsInstalledCopy(bin));
    // The same without the trailing slash ExeDir carries.
    EXPECT_TRUE(IsInstalledCopy(path("usr/bin")));
}

TEST_F(InstallLayoutTest, BuildFolderOrIncompleteLayoutIsNotAnInstalledCopy) {
    Touch(path("build/README.md"));
    EXPECT_FALSE(IsInstalledCopy(path("build") + QLatin1Char('/')));
    // A bin folder without the documents beside it (e.g. ~/bin).
    QDir().mkpath(path("home/bin"));
    EXPECT_FALSE(IsInstalledCopy(path("home/bin") + QLatin1Char('/')));
    // Documents present but the program not in a folder named bin.
    Touch(path("opt/share/doc/relcon4/README.md"));
    QDir().mkpath(path("opt/libexec"));
    EXPECT_FALSE(IsInstalledCopy(path("opt/libexec") + QLatin1Char('/')));
    EXPECT_FALSE(IsInstalledCopy(QString()));
}

TEST_F(InstallLayoutTest, InstalledCopyWritesSettingsToTheUserFolderEvenIfBinIsWritable) {
    // The test runs as a user who can write the scratch bin folder, as root can write /usr/bin.
    Touch(path("usr/share/doc/relcon4/README.md"));
    QDir().mkpath(path("usr/bin"));
    ExeDir = path("usr/bin") + QLatin1Char('/');
    EXPECT_EQ(SettingsFilePath(), QDir(platform::ConfigFolder()).filePath("rs_m.ini"));
    ASSERT_TRUE(SaveSettings());
    EXPECT_TRUE(QFile::exists(QDir(platform::ConfigFolder()).filePath("rs_m.ini")));
    EXPECT_FALSE(QFile::exists(path("usr/bin/rs_m.ini")));
}

TEST_F(InstallLayoutTest, BuildFolderKeepsSettingsBesideTheProgram) {
    QDir().mkpath(path("build"));
    ExeDir = path("build") + QLatin1Char('/');
    EXPECT_EQ(SettingsFilePath(), path("build/rs_m.ini"));
}

} // namespace
