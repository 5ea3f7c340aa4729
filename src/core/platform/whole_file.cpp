#include "platform/whole_file.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace platform {

// Looks at the place after a failed write, so the user hears the cause in
// words rather than as a system error text.
QString DescribeWriteFailure(const QString& path, qint64 size, bool opened,
                             QFileDevice::FileError error, const QString& systemText) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (target.isDir())
        return QStringLiteral("на месте файла папка");
    // A folder deleted while it is the current one still "exists" but has no path.
    if (!folder.exists() || folder.canonicalFilePath().isEmpty()) {
        const QString where = folder.absoluteFilePath();
        return where.isEmpty() ? QStringLiteral("текущая папка удалена")
                               : QStringLiteral("нет папки %1").arg(where);
    }
    if (!folder.isDir())
        return QStringLiteral("%1 - не папка, а файл").arg(folder.filePath());
    if (opened && (error == QFileDevice::ResourceError ||
                   QStorageInfo(folder.filePath()).bytesAvailable() < size))
        return QStringLiteral("нет места на диске");
    if (!opened && !folder.isWritable())
        return QStringLiteral("нет прав на запись в папку %1").arg(folder.filePath());
    if (!opened && target.exists() && !target.isWritable())
        return QStringLiteral("файл защищён от записи");
    // Past the open, the system's text rarely says more than that the write failed.
    if (opened)
        return QStringLiteral("ошибка записи на диск");
    return QStringLiteral("файл не создаётся: ") + systemText;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* problem) {
    QSaveFile file(path);
    const bool opened = file.open(QIODevice::WriteOnly);
    // flush() before commit() so that a full disk shows up as the write's own error.
    if (opened && file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return true;
    const QFileDevice::FileError error = file.error();
    const QString systemText = file.errorString();
    // Without a commit the new file is thrown away and the old one stays.
    file.cancelWriting();
    if (problem)
        *problem = DescribeWriteFailure(path, bytes.size(), opened, error, systemText);
    return false;
}

} // namespace platform
