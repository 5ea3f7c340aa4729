// relcon4-cli ro4d report against the simulated RO-4D on a pseudo-terminal:
// the PDF read back with pdftotext holds each parameter under its caption,
// the object and technician kept to one line, and the compare's verdict.
#include "support/test_env.h"

#include "ro4d_unit.h"
#include "sim_server.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList kExchange{"--timeout", "300", "--pause", "5", "--attempts", "1"};

int cli(const QStringList& args, QString* err = nullptr) {
    QProcess p;
    p.start(testenv::BinaryDir() + QStringLiteral("/relcon4-cli"), kExchange + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// The PDF's text without any blank, so a wrapped line reads as one.
QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(60000));
    return QString::fromUtf8(p.readAllStandardOutput())
        .remove(QRegularExpression(QStringLiteral("\\s")));
}

QString bare(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

TEST(CliReportTest, Ro4dProtocolHoldsEveryRowAndTheVerdict) {
    QTemporaryDir dir;
    sim::SimServer server(std::make_unique<sim::Ro4dUnit>(sim::Ro4dBoard::V2));
    const QString com = server.start();
    ASSERT_FALSE(com.isEmpty());
    const QString qvf = dir.filePath("unit.qvf"), pdf = dir.filePath("p.pdf");
    ASSERT_EQ(cli({"ro4d", "read", "--port", com, "-o", qvf, "--no-archive"}), 0);
    QString err;
    ASSERT_EQ(cli({"ro4d", "report", "--port", com, qvf, "-o", pdf, "--no-archive", "--object",
                   QStringLiteral("Школа\n5\u202e"), "--technician", QString(300, QChar(u'Я'))},
                  &err),
              0)
        << err.toStdString();
    const QString text = pdfText(pdf);
    const char* const rows[] = {
        "Объект: Школа 5",
        "Режим М1/М2: М2 - независимый от М1 канал управления",
        "[сек] - T_off - время работы привода после снятия управляющих сигналов: 1 сек",
        "[сек] - T_240 - таймаут ожидания концевика; заклинивание привода: 240 сек",
        "[сек] - T_wait - пауза перед включением M1/M2: 1 сек",
        "Основное условие Пуска: K1 (On) И O+ (On)",
        "Основное условие Пуска: K3 (On) И Z+ (On)",
        "[сек] - T_min6: 6 сек",
        "[1], [мс] - Отслеживание синусов напряжений: Vl, Vu, Vu1; def=1,5 цикла от 50 Гц: 30 мс",
        "[с] - T_mode3 - время работы М1 после отпускания К3 (режим работы по switch_3): 30 с",
        "Нормально замкнутые кнопки (K1, K3): нет",
        "Результат: устройство хранит записанное",
        "Подпись техника:",
    };
    for (const char* row : rows)
        EXPECT_TRUE(text.contains(bare(QString::fromUtf8(row)))) << row;
    // 300 characters are cut to 199 and an ellipsis.
    EXPECT_TRUE(
        text.contains(QStringLiteral("Техник:") + QString(199, QChar(u'Я')) + QChar(0x2026)));
    EXPECT_FALSE(text.contains(QString(200, QChar(u'Я'))));

    // The same file gives the same text (but for the time it was made).
    const QString a = dir.filePath("a.pdf"), b = dir.filePath("b.pdf");
    ASSERT_EQ(cli({"ro4d", "report", "--file", qvf, "-o", a}), 0);
    ASSERT_EQ(cli({"ro4d", "report", "--file", qvf, "-o", b}), 0);
    const QRegularExpression when(QStringLiteral("Датаивремя:[0-9.:]+"));
    EXPECT_EQ(pdfText(a).remove(when), pdfText(b).remove(when));

    // A folder that is not there: a message naming the path, exit 6, no file.
    const QString bad = dir.filePath("no/such/p.pdf");
    EXPECT_EQ(cli({"ro4d", "report", "--file", qvf, "-o", bad}, &err), 6);
    EXPECT_TRUE(err.contains(bad)) << err.toStdString();
    EXPECT_FALSE(QFile::exists(bad));
    server.stop();
}
