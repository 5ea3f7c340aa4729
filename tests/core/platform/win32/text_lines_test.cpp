// Text files the technician opens on Windows end their lines with CR LF: the
// saved log (as the window saves it) and the recordings, as the settings
// files do.
#include "exchange/log_model.h"
#include "exchange/log_recorder.h"
#include "platform/whole_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every line feed comes after a carriage return, and there is at least one.
bool AllLinesEndInCrLf(const QByteArray& bytes) {
    if (!bytes.endsWith("\r\n"))
        return false;
    for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', i + 1))
        if (i == 0 || bytes.at(i - 1) != '\r')
            return false;
    return true;
}

} // namespace

TEST(WindowsTextFiles, SavedLogAndRecordingEndLinesInCrLf) {
    const QList<TLogLine> lines = {{QStringLiteral("один"), clLogBlack, 0},
                                   {QStringLiteral("два"), clLogBlack, 0}};
    const QByteArray saved = LogLinesText(lines, QLatin1String(platform::kTextLineEnd)).toUtf8();
    EXPECT_TRUE(AllLinesEndInCrLf(saved)) << saved.toStdString();
    EXPECT_EQ(saved.count("\r\n"), 2);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.log"));
    {
        TLogRecorder recorder(ExchangeLog());
        ASSERT_TRUE(recorder.StartFile(path));
        for (const TLogLine& line : lines) {
            AnalyzeLog.sStr = line.text;
            ExchangeLog().prStatusAsStrToLog(clLogBlack);
        }
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray recorded = file.readAll();
    EXPECT_TRUE(AllLinesEndInCrLf(recorded)) << recorded.toStdString();
    EXPECT_EQ(recorded.count("\r\n"), 2);
}
