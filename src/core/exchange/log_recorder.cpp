#include "exchange/log_recorder.h"

#include "platform/whole_file.h"

#include <QDir>

TLogRecorder::TLogRecorder(TLogModel& log, QObject* parent) : QObject(parent), log_(log) {
    connect(&log_, &TLogModel::lineAdded, this, [this](const TLogLine& line) {
        if (IsRecording())
            append(line);
    });
    connect(&log_, &TLogModel::cleared, this, [this] {
        if (IsRecording())
            append({QStringLiteral("Лог очищен"), clLogBlack, log_.clockMs()});
    });
}

TLogRecorder::~TLogRecorder() {
    Stop();
}

QString TLogRecorder::FilePathFor(const QString& folder, const QDateTime& start) {
    return folder + QStringLiteral("/relcon4-") +
           start.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".log");
}

bool TLogRecorder::Start(const QString& folder, QString* problem) {
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(log_.clockMs());
    const QString path = FilePathFor(folder, start);
    if (QDir().mkpath(folder))
        return StartFile(path, problem);
    Stop();
    file_.setFileName(path);
    if (problem)
        *problem = QStringLiteral("папка %1 не создаётся").arg(QDir::toNativeSeparators(folder));
    return false;
}

bool TLogRecorder::StartFile(const QString& path, QString* problem) {
    Stop();
    file_.setFileName(path);
    if (file_.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    if (problem)
        *problem =
            platform::DescribeWriteFailure(path, 0, false, file_.error(), file_.errorString());
    return false;
}

void TLogRecorder::Stop() {
    if (file_.isOpen())
        file_.close();
}

void TLogRecorder::append(const TLogLine& line) {
    const QByteArray bytes =
        (LogLineForText(line) + QLatin1String(platform::kTextLineEnd)).toUtf8();
    // One write and a flush per line: the line reaches the system whole or
    // not at all before the exchange goes on.
    if (file_.write(bytes) == bytes.size() && file_.flush())
        return;
    const QString problem = platform::DescribeWriteFailure(file_.fileName(), bytes.size(), true,
                                                           file_.error(), file_.errorString());
    // Closing may try the unwritten bytes once more; they are given up.
    file_.close();
    emit failed(file_.fileName(), problem);
}
