// What leaves the log window: copied rows, a saved file, a recording.
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_model.h"
#include "exchange/log_recorder.h"
#include "exchange/monitor_form.h"
#include "platform/user_folders.h"
#include "platform/whole_file.h"
#include "support/recording_interaction.h"
#include "support/test_env.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

class LogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::IsolateUserFolders();
        ResetExchangeSettings();
        ExchangeState.Reset();
        LogHex = true;
        form = std::make_unique<TMonitorForm>();
        form->show();
    }
    void TearDown() override {
        form.reset();
        ResetLogState();
    }
    QString row(int r) const {
        return form->MonitorsListView->model()->index(r, 0).data().toString();
    }
    void status(const QString& text, TLogColor color = clLogBlack) {
        AnalyzeLog.sStr = text;
        form->prStatusAsStrToLog(color);
    }
    void entry(std::uint8_t request, std::uint8_t reply) {
        ExchangeState.TxBuf[0] = request;
        ExchangeState.TxLength = 1;
        ExchangeState.RxBuf[0] = reply;
        ExchangeState.RxLength = 1;
        ExchangeLog().prCommandToLog();
    }
    static QStringList fileLines(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll())
            .split(QLatin1String(platform::kTextLineEnd), Qt::SkipEmptyParts);
    }

    RecordingInteraction user;
    std::unique_ptr<TMonitorForm> form;
};

} // namespace

// Newest first: rows 0..4 are "c", the request and reply of the entry, "b", "a".
TEST_F(LogFileTest, CopiedRowsAndTheSavedFileAreWhatTheWindowShowsOldestFirstWithTimes) {
    status(QStringLiteral("a"));
    status(QStringLiteral("b"), clLogRed);
    entry(0x05, 0x06);
    status(QStringLiteral("c"), clLogGreen);
    ASSERT_EQ(row(1), QStringLiteral("    1 : 05"));
    ASSERT_EQ(row(3), QStringLiteral("b"));

    form->TimeLogCheckBox->setChecked(true);
    const QList<TLogLine> lines = ExchangeLog().LinesOldestFirst();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(row(0), LogTimeText(lines[4].timeMs) + QStringLiteral("  c"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d ошибка  b$"))
                    .match(LogLineForText(lines[1]))
                    .hasMatch());

    // Three rows picked out of order come out oldest first, each with its time.
    auto* selection = form->MonitorsListView->selectionModel();
    for (int r : {0, 3, 1})
        selection->select(form->MonitorsListView->model()->index(r, 0),
                          QItemSelectionModel::Select);
    const QString three = LogLineForText(lines[1]) + '\n' + LogLineForText(lines[2]) + '\n' +
                          LogLineForText(lines[4]) + '\n';
    form->CopyLogAction->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), three);
    EXPECT_EQ(form->CopyLogAction->text(), QStringLiteral("Копировать"));
    EXPECT_EQ(form->CopyLogAction->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(form->MonitorsListView->contextMenuPolicy(), Qt::ActionsContextMenu);

    // The saved file: every line, oldest first, each ending in the row as shown.
    const QString path = testenv::TempRoot() + QStringLiteral("/saved.log");
    user.saveFileAnswers.push_back(path);
    QTest::mouseClick(form->SaveLogButton, Qt::LeftButton);
    form->TimeLogCheckBox->setChecked(false);
    const QStringList saved = fileLines(path);
    ASSERT_EQ(saved.size(), 5);
    // The request row stands above its reply in the window and before it in the file.
    const int shownAt[] = {4, 3, 1, 2, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(saved[i].endsWith(QLatin1Char(' ') + row(shownAt[i])))
            << saved[i].toStdString();
        EXPECT_EQ(saved[i], LogLineForText(lines[i]));
    }
    user.saveFileAnswers.push_back(testenv::TempRoot() + QStringLiteral("/no/such/folder/x.log"));
    QTest::mouseClick(form->SaveLogButton, Qt::LeftButton);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_TRUE(user.messages[0].text.contains(QStringLiteral("нет папки")))
        << user.messages[0].text.toStdString();

    // Lines that come meanwhile move the rows; the selection stays on its lines.
    status(QStringLiteral("d"));
    status(QStringLiteral("e"));
    EXPECT_EQ(selection->selectedIndexes().size(), 3);
    form->CopyLogAction->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), three);

    QTest::mouseClick(form->ClearLogButton, Qt::LeftButton);
    EXPECT_EQ(row(0), QString());
    EXPECT_TRUE(ExchangeLog().LinesOldestFirst().isEmpty());
}

TEST_F(LogFileTest, RecordingKeepsEveryLineBeyondTheRingAndStopsOnceWhenWritingFails) {
    const QString data = testenv::TempRoot() + QStringLiteral("/data");
    testenv::SetDataFolderBase(data);
    form->RecordLogCheckBox->setChecked(true);
    const QString path = form->LogRecorder->FilePath();
    // Linux: …/relcon4/logs; Windows: …/Relcon4/logs.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/relcon4/logs/relcon4-\\d{8}-\\d{6}\\.log$"),
                                   QRegularExpression::CaseInsensitiveOption)
                    .match(path)
                    .hasMatch())
        << path.toStdString();
    EXPECT_TRUE(path.startsWith(data));
    EXPECT_TRUE(form->RecordPathLabel->isVisible());
    EXPECT_TRUE(form->RecordPathLabel->text().contains(QDir::toNativeSeparators(path)))
        << form->RecordPathLabel->text().toStdString();
    for (int i = 0; i < 450; ++i)
        status(QStringLiteral("line %1").arg(i));
    QTest::mouseClick(form->ClearLogButton, Qt::LeftButton);
    QStringList lines = fileLines(path);
    ASSERT_EQ(lines.size(), 451);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("событие line 0")));
    EXPECT_TRUE(lines[449].endsWith(QStringLiteral("line 449")));
    EXPECT_TRUE(lines[450].endsWith(QStringLiteral("Лог очищен")));

#ifndef Q_OS_WIN
    // A full disk (Linux's /dev/full; Windows has no such device): the option
    // turns itself off with one message; logging goes on.
    ASSERT_TRUE(form->LogRecorder->StartFile(QStringLiteral("/dev/full")));
    for (int i = 0; i < 3; ++i)
        status(QStringLiteral("more"));
    EXPECT_FALSE(form->RecordLogCheckBox->isChecked());
    EXPECT_FALSE(form->RecordPathLabel->isVisible());
    EXPECT_EQ(row(0), QStringLiteral("more"));
    ASSERT_TRUE(testenv::WaitFor([&] { return !user.messages.empty(); }));
    EXPECT_EQ(user.messages[0].text,
              QStringLiteral("Запись лога в файл /dev/full остановлена: нет места на диске."));

    user.messages.clear();
#endif

    // A data folder that cannot be made (below a file): the option does not stay on.
    const QString blocker = testenv::TempRoot() + QStringLiteral("/blocker");
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    testenv::SetDataFolderBase(blocker + QStringLiteral("/data"));
    form->RecordLogCheckBox->setChecked(false); // still on where no full disk stopped it
    form->RecordLogCheckBox->setChecked(true);
    EXPECT_FALSE(form->RecordLogCheckBox->isChecked());
    ASSERT_TRUE(testenv::WaitFor([&] { return !user.messages.empty(); }));
    EXPECT_TRUE(user.messages[0].text.contains(
        QDir::toNativeSeparators(platform::DataFolder() + QStringLiteral("/logs"))))
        << user.messages[0].text.toStdString();
    testenv::IsolateUserFolders();
    QTest::qWait(0);
    EXPECT_EQ(user.messages.size(), 1u);
}

// The other side of the next test: records numbered lines until it is killed,
// telling the parent each number once its line has been written.
TEST(LogRecordingChild, WritesUntilKilled) {
    const QString path = qEnvironmentVariable("RELCON4_RECORD_CHILD");
    if (path.isEmpty())
        GTEST_SKIP() << "run by LogRecording.EveryCompleteLineOutlivesAKill";
    TLogRecorder recorder(ExchangeLog());
    ASSERT_TRUE(recorder.StartFile(path));
    for (int n = 1;; ++n) {
        AnalyzeLog.sStr = QStringLiteral("line %1").arg(n);
        ExchangeLog().prStatusAsStrToLog(clLogBlack);
        std::printf("%d\n", n);
        std::fflush(stdout);
        // Paced, so the parent can stop it soon after the ring is passed.
        QThread::msleep(1);
    }
}

TEST(LogRecording, EveryCompleteLineOutlivesAKill) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("killed.log"));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("RELCON4_RECORD_CHILD"), path);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=LogRecordingChild.WritesUntilKilled")});
    ASSERT_TRUE(child.waitForStarted(10000));
    // Past the ring's 400 lines before the kill.
    QByteArray told;
    ASSERT_TRUE(testenv::WaitFor(
        [&] {
            told += child.readAllStandardOutput();
            return told.count('\n') > 450;
        },
        std::chrono::seconds(30)));
    child.kill(); // SIGKILL
    ASSERT_TRUE(child.waitForFinished(10000));
    told += child.readAllStandardOutput();
    const QList<QByteArray> numbers = told.trimmed().split('\n');
    const int last = numbers.constLast().toInt();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith('\n')) << "no half line at the end";
    const QStringList lines =
        QString::fromUtf8(bytes).split(QLatin1String(platform::kTextLineEnd), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), last) << "every line the child had written is there";
    for (int i = 0; i < lines.size(); ++i)
        ASSERT_TRUE(lines[i].endsWith(QStringLiteral("событие line %1").arg(i + 1)))
            << lines[i].toStdString();
}

// Narrowed, the option panel keeps every caption whole.
TEST_F(LogFileTest, NarrowedWindowKeepsTheOptionCaptionsWhole) {
    form->resize(300, 217);
    QApplication::processEvents();
    EXPECT_EQ(form->size(), QSize(form->minimumWidth(), 217));
    for (QWidget* w : std::initializer_list<QWidget*>{
             form->TelState1Label, form->FontRadioGroup, form->FormatRadioGroup,
             form->DebugLogCheckBox, form->CmdLogCheckBox, form->TimeLogCheckBox,
             form->RecordLogCheckBox, form->SaveLogButton, form->ClearLogButton})
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
    form->resize(1042, 217);
    EXPECT_EQ(form->size(), QSize(1042, 217));
}
