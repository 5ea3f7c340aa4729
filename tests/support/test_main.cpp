// Every test program runs one headless QApplication, with the user's
// folders pointed at a temporary place so no test touches real settings.
#include "port/settings_file.h"
#include "shell/windows_host.h"
#include "support/test_env.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testenv::IsolateUserFolders();
    // Activation loads and may write rs_m.ini: keep it out of the build tree.
    SettingsDirOverride = testenv::TempRoot() + QStringLiteral("/settings");
    // Headless, unless a run names a real platform (the Windows run lays the
    // pages out once more with the fonts Windows gives, on a private display).
    const QByteArray platform = qgetenv("RELCON4_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    QApplication app(argc, argv);
    // Windows made by a test alone (no CreateAppWindows) serve the core too.
    InstallWindowsHost();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
