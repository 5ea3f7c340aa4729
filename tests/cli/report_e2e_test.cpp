// relcon4-cli ro4d|ri1r|zi2z3 report against the simulated units on a
// pseudo-terminal: the PDF read back with pdftotext holds each parameter
// under its caption, the object and technician kept to one line, and the
// compare's verdict.
#include "support/pdf_text.h"
#include "support/test_env.h"

#include "ri1r_unit.h"
#include "ro4d_unit.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QStringList kExchange{"--timeout", "300", "--pause", "5", "--attempts", "1"};

int cli(const QStringList& args, QString* err = nullptr, QString* out = nullptr) {
    QProcess p;
    p.start(testenv::BinaryDir() + QStringLiteral("/relcon4-cli"), kExchange + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError()).remove(QLatin1Char('\r'));
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput()).remove(QLatin1Char('\r'));
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

TEST(CliReportTest, Ro4dProtocolHoldsEveryRowAndTheVerdict) {
    SKIP_WITHOUT_PDFTOTEXT();
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
    const QString text = testenv::PdfBareText(pdf);
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
        EXPECT_TRUE(text.contains(testenv::Bare(QString::fromUtf8(row)))) << row;
    // 300 characters are cut, with an ellipsis, to what fits on the row's one line.
    const QString technician = testenv::PdfLine(pdf, QStringLiteral("Техник:"));
    EXPECT_TRUE(technician.endsWith(QString(20, QChar(u'Я')) + QChar(0x2026)))
        << technician.toStdString();
    EXPECT_FALSE(text.contains(QString(200, QChar(u'Я'))));

    // The same file gives the same text (but for the time it was made).
    const QString a = dir.filePath("a.pdf"), b = dir.filePath("b.pdf");
    ASSERT_EQ(cli({"ro4d", "report", "--file", qvf, "-o", a}), 0);
    ASSERT_EQ(cli({"ro4d", "report", "--file", qvf, "-o", b}), 0);
    const QRegularExpression when(QStringLiteral("Датаивремя:[0-9.:]+"));
    EXPECT_EQ(testenv::PdfBareText(a).remove(when), testenv::PdfBareText(b).remove(when));

    // A folder that is not there: a message naming the path, exit 6, no file.
    const QString bad = dir.filePath("no/such/p.pdf");
    EXPECT_EQ(cli({"ro4d", "report", "--file", qvf, "-o", bad}, &err), 6);
    EXPECT_TRUE(err.contains(bad)) << err.toStdString();
    EXPECT_FALSE(QFile::exists(bad));
    server.stop();
}

// relcon4-cli ri1r report and zi2z3 report on the simulated units: from the
// unit, from the file a read wrote, and after a bench run; each PDF holds its
// rows under their captions as the pages name them.
TEST(CliReportTest, Ri1rAndBenchProtocolsHoldTheirRows) {
    SKIP_WITHOUT_PDFTOTEXT();
    struct Case {
        const char* name;
        std::function<std::unique_ptr<sim::SimUnit>()> unit;
        QStringList before; // a command run first (%PORT%, %DIR% replaced)
        QStringList report;
        QStringList rows;
    };
    const auto ri1r = [] {
        auto u = std::make_unique<sim::Ri1rUnit>();
        u->modes()[0][1].t6sec = 45;
        u->common().timeErr[2] = 9;
        return u;
    };
    const QStringList ri1rRows{"Настройки режимов: режим 1",
                               "Канал 2, T6sec: 45",
                               "Канал 3, Управление реле: попеременно",
                               "Канал 2, K3-K4: контроль аварии: да",
                               "Время до аварии, [ сек ]: K3: 9 сек",
                               "Uацп: 5.25 В",
                               "Umax: 4.50 В",
                               "Подпись техника:"};
    const Case cases[] = {
        {"ri1r from the unit",
         ri1r,
         {},
         {"ri1r", "report", "--port", "%PORT%"},
         ri1rRows + QStringList{"Устройство: РИ1-Р в.1.07", "Источник: чтение устройства"}},
        {"ri1r from its file",
         ri1r,
         {"ri1r", "read", "--port", "%PORT%", "-o", "%DIR%/QV1M.ini", "--no-archive"},
         {"ri1r", "report", "--file", "%DIR%/QV1M.ini"},
         ri1rRows + QStringList{"Устройство: не считано (файл)", "Источник: файл QV1M.ini"}},
        {"zi2z3 after a run",
         [] {
             auto u = std::make_unique<sim::Zi2z3Unit>();
             u->delays() = {12, 3, 60, 5, 3, 61};
             u->setTestDurationMs(150);
             return u;
         },
         {},
         {"zi2z3", "report", "--port", "%PORT%", "0x80", "--watch", "1"},
         {"Автовыключение реле после временной задержки, Канал 2 (T23): 61 с",
          "Время задержки включения реле при появлении напряжения, Канал 1 (T11): 12 с",
          "Проверочный стенд. Место 1", "Ton11, Измерено: 12.03 с", "Проверочный стенд. Место 2",
          "Ton11, Измерено: 11.98 с", "Uх.ход: 0.00 В"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        sim::SimServer server(c.unit());
        server.setLineRate(0);
        const QString com = server.start();
        ASSERT_FALSE(com.isEmpty());
        const auto fill = [&](QStringList args) {
            args.replaceInStrings(QStringLiteral("%PORT%"), com)
                .replaceInStrings(QStringLiteral("%DIR%"), dir.path());
            return args;
        };
        QString err;
        if (!c.before.isEmpty()) {
            ASSERT_EQ(cli(fill(c.before), &err), 0) << err.toStdString();
        }
        const QString pdf = dir.filePath("p.pdf");
        ASSERT_EQ(cli(fill(c.report) + QStringList{"-o", pdf, "--no-archive", "--technician",
                                                   QStringLiteral("Иванов")},
                      &err),
                  0)
            << err.toStdString();
        const QString text = testenv::PdfBareText(pdf);
        for (const QString& row : c.rows + QStringList{QStringLiteral("Техник: Иванов")})
            EXPECT_TRUE(text.contains(testenv::Bare(row))) << row.toStdString();
        server.stop();
    }
}

// ro4d read and ri1r read print each value under its caption and unit, as
// the protocol of the same unit does: every such line stands in the PDF;
// --json adds the captions beside the names scripts use.
TEST(CliReportTest, ReadPrintoutNamesValuesAsTheProtocol) {
    SKIP_WITHOUT_PDFTOTEXT();
    struct Case {
        const char* device;
        std::function<std::unique_ptr<sim::SimUnit>()> unit;
        QString rowStart; // the lines that are rows of the protocol begin so
        int rows;
        QStringList said;
        QString json;
    };
    const Case cases[] = {
        {"ro4d",
         [] { return std::make_unique<sim::Ro4dUnit>(sim::Ro4dBoard::V2); },
         // The values that stand in no group read the same in both.
         QStringLiteral("["),
         12,
         {QStringLiteral("\n[сек] - T_wait - пауза перед включением M1/M2: 1 сек\n"),
          QStringLiteral("\nЛинии кнопок: [В], порог, ниже которого К.З.: 2.48 В\n")},
         QStringLiteral("\"caption\": \"[с] - T_mode3 - время работы М1 после отпускания К3 "
                        "(режим работы по switch_3)\",\n            \"name\": \"TimeMode3\",\n"
                        "            \"unit\": \"с\",\n            \"value\": \"30\"")},
        {"ri1r",
         [] {
             auto u = std::make_unique<sim::Ri1rUnit>();
             u->modes()[6][2].toff = 77;
             return u;
         },
         QStringLiteral("    "),
         // Seven modes of three channels, seven rows each; five common rows, four thresholds.
         7 * 3 * 7 + 5 + 4,
         {QStringLiteral("\nНастройки режимов: режим 7\n"),
          QStringLiteral("\n    Канал 3, Toff: 77\n")},
         QStringLiteral("\"caption\": \"Umax\",\n            \"section\": \"Напряжения "
                        "порогов\",\n            \"unit\": \"В\"")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        QTemporaryDir dir;
        sim::SimServer server(c.unit());
        server.setLineRate(0);
        const QString com = server.start();
        ASSERT_FALSE(com.isEmpty());
        const QString device = QString::fromLatin1(c.device), pdf = dir.filePath("p.pdf");
        ASSERT_EQ(cli({device, "report", "--port", com, "-o", pdf, "--no-archive"}), 0);
        const QString protocol = testenv::PdfBareText(pdf);
        QString out;
        ASSERT_EQ(cli({device, "read", "--port", com, "--no-archive"}, nullptr, &out), 0);
        QStringList rows;
        for (const QString& line : out.split('\n'))
            if (line.startsWith(c.rowStart))
                rows << line.trimmed();
        EXPECT_EQ(rows.size(), c.rows) << out.toStdString();
        for (const QString& row : rows)
            EXPECT_TRUE(protocol.contains(testenv::Bare(row))) << row.toStdString();
        for (const QString& said : c.said)
            EXPECT_TRUE(out.contains(said)) << said.toStdString();
        ASSERT_EQ(cli({device, "read", "--port", com, "--no-archive", "--json"}, nullptr, &out), 0);
        EXPECT_TRUE(out.contains(c.json)) << out.toStdString();
        server.stop();
    }
}
