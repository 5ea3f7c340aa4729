// Recording of the exchange log to a file: while on, every line the log makes
// is appended as it happens, so a long session outlives the 400-line ring and
// a crash. The file is opened once; each line is handed to the system before
// the next is made, so a killed program leaves every complete line behind.
#pragma once

#include "exchange/log_model.h"

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QString>

class TLogRecorder : public QObject {
    Q_OBJECT
public:
    explicit TLogRecorder(TLogModel& log, QObject* parent = nullptr);
    ~TLogRecorder() override;

    // The file a recording started at this moment goes to, in folder.
    static QString FilePathFor(const QString& folder, const QDateTime& start);
    // Starts a new recording in folder (created when missing); false, with the
    // cause in problem, when the folder or the file cannot be made.
    bool Start(const QString& folder, QString* problem = nullptr);
    // Starts recording into this very file, appending to what it holds.
    bool StartFile(const QString& path, QString* problem = nullptr);
    void Stop();
    bool IsRecording() const { return file_.isOpen(); }
    // The file being recorded into, or the last one.
    QString FilePath() const { return file_.fileName(); }

signals:
    // Writing failed: the recording has stopped by itself, once.
    void failed(const QString& path, const QString& problem);

private:
    void append(const TLogLine& line);

    TLogModel& log_;
    QFile file_;
};
