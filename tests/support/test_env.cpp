#include "support/test_env.h"

#include "platform/user_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

namespace testenv {

namespace {
QTemporaryDir* root = nullptr;

#ifdef Q_OS_WIN
platform::UserFolderBases isolatedBases(const QString& config, const QString& data) {
    platform::UserFolderBases bases;
    bases.windows = true;
    bases.home = root->path();
    bases.roaming = config;
    bases.local = data;
    return bases;
}
#endif
} // namespace

void IsolateUserFolders() {
    if (!root) {
        root = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/relcon4-test-XXXXXX"));
        root->setAutoRemove(true);
    }
    const QString config = root->path() + QStringLiteral("/config");
    const QString runtime = root->path() + QStringLiteral("/runtime");
    const QString data = root->path() + QStringLiteral("/data");
    QDir().mkpath(config);
    QDir().mkpath(data);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    // The archive and log recordings live in the data folder.
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    // Windows takes its folders from the system, not from the variables.
#ifdef Q_OS_WIN
    platform::OverrideFolderBases(isolatedBases(config, data));
#endif
}

void SetDataFolderBase(const QString& base) {
    qputenv("XDG_DATA_HOME", base.toLocal8Bit());
#ifdef Q_OS_WIN
    platform::OverrideFolderBases(isolatedBases(root->path() + QStringLiteral("/config"), base));
#endif
}

QString TempRoot() {
    return root ? root->path() : QString();
}

bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds deadline) {
    QElapsedTimer timer;
    timer.start();
    while (!cond()) {
        if (timer.elapsed() >= deadline.count())
            return cond();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

QString BinaryDir() {
#ifdef _WIN32
    // The tests run from a copy of the program's folder, where its programs
    // find their DLLs, plugins and qt.conf.
    return QCoreApplication::applicationDirPath();
#else
    return QStringLiteral(RELCON4_BINARY_DIR);
#endif
}

} // namespace testenv
