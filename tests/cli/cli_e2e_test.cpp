// relcon4-cli against the simulated RO-4D on a real pseudo-terminal: the
// program runs as its own process, the unit answers on a thread of this one.
// Every wait is the process's end, with a deadline.
#include "cli/cli_context.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/qv4m_registers.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "port/settings_file.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "support/recording_interaction.h"
#include "support/test_env.h"

#include "ri1r_unit.h"
#include "ro4d_unit.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>

namespace {

using sim::Ro4dBoard;
using sim::Ro4dUnit;

// A generous reply time-out keeps a loaded machine from failing a good exchange.
const QStringList kExchange{"--timeout", "300", "--pause", "5", "--attempts", "1"};
constexpr int kRunDeadlineMs = 60000;

struct TRun {
    int exitCode = -1;
    QString out, err;
    qint64 ms = 0;
};

class CliTest : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        server = std::make_unique<sim::SimServer>(makeUnit());
        com = server->start();
        ASSERT_FALSE(com.isEmpty()) << server->errorString().toStdString();
    }
    void TearDown() override { server->stop(); }
    virtual std::unique_ptr<sim::SimUnit> makeUnit() {
        return std::make_unique<Ro4dUnit>(Ro4dBoard::V1);
    }

    TRun run(QStringList args, const QStringList& exchange = kExchange) {
        args.replaceInStrings(QStringLiteral("%PORT%"), com);
        args.replaceInStrings(QStringLiteral("%DIR%"), dir.path());
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(testenv::BinaryDir() + QStringLiteral("/relcon4-cli"), exchange + args);
        EXPECT_TRUE(process.waitForFinished(kRunDeadlineMs)) << args.join(' ').toStdString();
        TRun r;
        r.ms = clock.elapsed();
        r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        // Windows ends the lines of both with CR LF.
        r.out = QString::fromUtf8(process.readAllStandardOutput()).remove(QLatin1Char('\r'));
        r.err = QString::fromUtf8(process.readAllStandardError()).remove(QLatin1Char('\r'));
        return r;
    }
    sim::UnitAccess<Ro4dUnit> unit() { return server->unit<Ro4dUnit>(); }
    QByteArray fileBytes(const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The unit read into a .qvf of the test folder; its bytes.
    QByteArray readInto(const QString& name) {
        EXPECT_EQ(run({"ro4d", "read", "--port", "%PORT%", "-o", "%DIR%/" + name}).exitCode, 0);
        return fileBytes(name);
    }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir;
    std::unique_ptr<sim::SimServer> server;
    QString com;
};

} // namespace

// Exit codes and what the unit saw: a failure before the line is used sends
// nothing; a compare with a file says what differs, with both values.
TEST_F(CliTest, ExitCodesNameWhatFailed) {
    writeFile("short.qvf", QByteArray(100, '\0'));
    writeFile("long.qvf", QByteArray(200, '\0'));
    struct Case {
        const char* name;
        QStringList args;
        std::function<void(CliTest&)> prepare;
        int exitCode;
        const char* said; // on standard error, or out for code 0
        bool nothingSent;
    };
    const Case cases[] = {
        {"help", {"--help"}, {}, 0, "Коды завершения", true},
#ifdef _WIN32
        {"ports", {"ports"}, {}, 0, "\\\\.\\COM", true},
#else
        {"ports", {"ports"}, {}, 0, "/dev/pts/", true},
#endif
        {"no command", {}, {}, 2, "не указана команда", true},
        {"unknown command",
         {"ro4d", "fly", "--port", "%PORT%"},
         {},
         2,
         "неизвестная команда",
         true},
        {"no port", {"ro4d", "read"}, {}, 2, "не указан порт", true},
        {"bad number",
         {"ro4d", "read", "--port", "%PORT%", "--attempts", "x"},
         {},
         2,
         "--attempts",
         true},
        {"missing port", {"ro4d", "read", "--port", "COM95"}, {}, 3, "порт не открыт", true},
        {"damaged file",
         {"ro4d", "write", "--port", "%PORT%", "%DIR%/short.qvf"},
         {},
         6,
         "в файле 100 байт",
         true},
        {"long file",
         {"ro4d", "write", "--port", "%PORT%", "%DIR%/long.qvf"},
         {},
         6,
         "в файле 200 байт",
         true},
        {"word out of range",
         {"ro4d", "write", "--port", "%PORT%", "%DIR%/wide.qvf"},
         [](CliTest& t) {
             QByteArray wide = t.readInto("wide.qvf");
             wide[2 * cKoncErrTime] = 0x2C; // 300, little-endian; the unit keeps a byte
             wide[2 * cKoncErrTime + 1] = 0x01;
             t.writeFile("wide.qvf", wide);
         },
         2,
         "слово 5 cKoncErrTime (T_240) = 300, допустимо от 0 до 255",
         true},
        {"missing file",
         {"ro4d", "write", "--port", "%PORT%", "%DIR%/none.qvf"},
         {},
         6,
         "none.qvf",
         true},
        {"refused",
         {"ro4d", "flash", "--port", "%PORT%"},
         [](CliTest& t) {
             t.unit()->faults().add({sim::FaultKind::Refuse, -1, -1, 0});
         },
         5,
         "запись во FLASH: устройство отказало",
         false},
        {"errors",
         {"ro4d", "errors", "--port", "%PORT%"},
         [](CliTest& t) { t.unit()->setErrors(0x0041, 0, 0); },
         0,
         "Ошибки #1: обрыв K1",
         false},
        {"version unanswered",
         {"ro4d", "read", "--port", "%PORT%", "--json"},
         [](CliTest& t) {
             t.unit()->faults().add({sim::FaultKind::Silence, -1, 1, 0});
         },
         0,
         "\"versionRead\": false",
         false},
        {"diff equal",
         {"ro4d", "diff", "--port", "%PORT%", "%DIR%/unit.qvf"},
         [](CliTest& t) { t.readInto("unit.qvf"); },
         0,
         "Совпадает",
         false},
        {"diff changed",
         {"ro4d", "diff", "--port", "%PORT%", "%DIR%/changed.qvf"},
         [](CliTest& t) {
             QByteArray changed = t.readInto("changed.qvf");
             changed[2 * cKoncErrTime] = 100;
             t.writeFile("changed.qvf", changed);
         },
         1,
         "заклинивание привода\n    Устройство: 240 сек\n    Файл: 100 сек",
         false},
        {"diff stopped half-way",
         {"ro4d", "diff", "--port", "%PORT%", "%DIR%/unit.qvf"},
         [](CliTest& t) {
             t.readInto("unit.qvf");
             t.unit()->faults().add({sim::FaultKind::Silence, -1, -1, 4});
         },
         4,
         "Сравнение неполное: устройство не ответило на чтение страницы 3",
         false},
        {"diff damaged file",
         {"ro4d", "diff", "--port", "%PORT%", "%DIR%/short.qvf"},
         {},
         6,
         "в файле 100 байт",
         true},
        {"diff long file",
         {"ro4d", "diff", "--port", "%PORT%", "%DIR%/long.qvf"},
         {},
         6,
         "в файле 200 байт",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unit()->faults().clear();
        if (c.prepare)
            c.prepare(*this);
        const std::size_t before = unit()->requests().size();
        const TRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(
            (c.exitCode <= kExitDiffers ? r.out : r.err).contains(QString::fromUtf8(c.said)))
            << r.out.toStdString() << r.err.toStdString();
        if (c.nothingSent) {
            EXPECT_EQ(unit()->requests().size(), before);
        }
    }
}

// Three attempts of 200 ms at a silent unit, for the version and then (read
// as a 1.x board, as the page does) for page 0: about 0.6 s of time-outs and
// two 200 ms pauses before the retries each, then exit 4.
TEST_F(CliTest, SilentUnitEndsWithinTheAttempts) {
    unit()->faults().add({sim::FaultKind::Silence, -1, -1, 0});
    const TRun r = run({"ro4d", "read", "--port", "%PORT%", "--log"},
                       {"--timeout", "200", "--pause", "5", "--attempts", "3"});
    EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Версия платы не считана"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("страница 0: нет ответа"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Была попытка №3")));
    EXPECT_EQ(unit()->requests().size(), 6u);
    EXPECT_LT(r.ms, 2 * (3 * 205 + 2 * 200) + 3000) << "start, twice three attempts and the exit";
}

// A mistyped --port never reaches another port: the unit sits on COM1, where
// the serial component would put any name outside COM1..COM96.
TEST_F(CliTest, AMistypedPortOpensNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "the simulated unit's line is a COM pair the run names, never COM1";
#endif
    server = std::make_unique<sim::SimServer>(makeUnit());
    com = server->start(1);
    ASSERT_EQ(com, QStringLiteral("COM1")) << server->errorString().toStdString();
    struct Case {
        const char* port;
        int exitCode;
        const char* said;
    } const cases[] = {
        {"COMX", kExitUsage, "нет такого порта: COMX"},
        {"COM0", kExitUsage, "нет такого порта: COM0"},
        {"COM97", kExitUsage, "нет такого порта: COM97"},
        {"COM 97", kExitUsage, "нет такого порта: COM 97"},
        {"1", kExitUsage, "нет такого порта: 1"},
        {"com 5", kExitPort, "COM5: порт не открыт"},
        {"COM5", kExitPort, "COM5: порт не открыт"},
        {"com 1", kExitOk, "OpenNewPort: COM1 = "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        const std::size_t before = unit()->requests().size();
        const TRun r = run({"ro4d", "errors", "--log", "--port", QString::fromUtf8(c.port)});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.said))) << r.err.toStdString();
        if (c.exitCode == kExitUsage) {
            EXPECT_FALSE(r.err.contains(QStringLiteral("OpenNewPort"))) << "nothing is opened";
        }
        EXPECT_EQ(unit()->requests().size(), before + (c.exitCode == kExitOk ? 1 : 0));
    }
}

// Write a changed file, read it back: the file's words are what the unit now holds.
TEST_F(CliTest, WriteThenReadBackGivesTheFile) {
    ASSERT_EQ(run({"ro4d", "read", "--port", "%PORT%", "-o", "%DIR%/a.qvf"}).exitCode, 0);
    QByteArray changed = fileBytes("a.qvf");
    ASSERT_EQ(changed.size(), kConfigFileBytes);
    changed[2 * cKoncErrTime] = 100;            // T_240
    changed[2 * kParamRegCount + 2 * 3] = 0x21; // wTempV2a
    writeFile("b.qvf", changed);
    const TRun w = run({"ro4d", "write", "--port", "%PORT%", "%DIR%/b.qvf"});
    ASSERT_EQ(w.exitCode, 0) << w.err.toStdString();
    const TRun r = run({"ro4d", "read", "--port", "%PORT%", "-o", "%DIR%/c.qvf", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(fileBytes("c.qvf"), changed);
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"name\": \"T_240\""))) << r.out.toStdString();
}

// A file read by the command line, loaded into the page, shows what the
// page's own read of the unit shows.
TEST_F(CliTest, ReadFileLoadsIntoThePageAsARead) {
    ASSERT_EQ(run({"ro4d", "read", "--port", "%PORT%", "-o", "%DIR%/unit.qvf"}).exitCode, 0);

    QTemporaryDir settings;
    SettingsDirOverride = settings.path();
    ResetExchangeSettings();
    ExchangeState.Reset();
    ResetQv4mRegisters();
    RecordingInteraction user;
    const auto shownAfter = [&](const std::function<void()>& action) {
        CreateAppWindows(false);
        Relcon4->prActivateMasterForm(nullptr);
        Relcon4->CrashComTimer->stop();
        ExchangeState.PortName[0] = com;
        TimeOut = 300;
        PreSendPause = 5;
        action();
        QStringList shown;
        for (QLineEdit* edit : Relcon4->findChildren<QLineEdit*>())
            if (!edit->objectName().isEmpty())
                shown << edit->objectName() + QLatin1Char('=') + edit->text();
        shown.sort();
        DestroyAppWindows();
        ResetQv4mRegisters();
        return shown;
    };
    const QStringList read = shownAfter([] {
        Relcon4->findChild<QPushButton*>(QStringLiteral("RdDataButton"))->click();
        EXPECT_EQ(Qv4mCommandsOf(Relcon4)->StatusLabel1()->text(),
                  QStringLiteral("Статус: выполнено"));
    });
    user.openFileAnswers.push_back(dir.filePath("unit.qvf"));
    const QStringList loaded =
        shownAfter([] { Relcon4->findChild<QPushButton*>(QStringLiteral("Button4"))->click(); });
    EXPECT_EQ(loaded, read);
    ResetExchangeSettings();
    ExchangeState.Reset();
    SettingsDirOverride.clear();
}

// The RI1-R set through a file and back: the unit ends with the file's set
// saved, its release date written, and a damaged file sends nothing.
TEST(CliRi1rTest, ReadToFileWriteBackAndRefuseADamagedFile) {
    QTemporaryDir dir;
    sim::SimServer server(std::make_unique<sim::Ri1rUnit>());
    const QString com = server.start();
    ASSERT_FALSE(com.isEmpty());
    const auto cli = [&](QStringList args) {
        QProcess process;
        process.start(testenv::BinaryDir() + QStringLiteral("/relcon4-cli"), kExchange + args);
        EXPECT_TRUE(process.waitForFinished(kRunDeadlineMs));
        return process.exitCode();
    };
    const QString file = dir.filePath("QV1M.ini");
    ASSERT_EQ(cli({"ri1r", "read", "--port", com, "-o", file}), 0);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_EQ(text.count("\r\n"), 95);
    EXPECT_EQ(cli({"ri1r", "diff", "--port", com, file}), 0);
    EXPECT_EQ(cli({"ri1r", "write", "--port", com, file}), 0);
    EXPECT_NE(server.unit<sim::Ri1rUnit>()->releaseDate(), QStringLiteral("00.00.00"));
    EXPECT_FALSE(server.unit<sim::Ri1rUnit>()->inSession()) << "the write ends the session";
    // A unit with a release date keeps it: the session reply decides.
    ASSERT_TRUE(server.unit<sim::Ri1rUnit>()->setReleaseDate(QStringLiteral("05.11.24")));
    server.unit<sim::Ri1rUnit>()->clearRequests();
    EXPECT_EQ(cli({"ri1r", "write", "--port", com, file}), 0);
    EXPECT_EQ(server.unit<sim::Ri1rUnit>()->releaseDate(), QStringLiteral("05.11.24"));
    const std::deque<sim::Bytes> frames = server.unit<sim::Ri1rUnit>()->requests();
    for (const sim::Bytes& frame : frames)
        EXPECT_NE(frame.size() > 1 ? frame[1] : 0, 'd') << "no date frame";

    // Mode 6, channel 1 holds by time: a T6sec of 3 would be refused.
    QByteArray refused = text;
    QList<QByteArray> lines = refused.split('\n');
    const int t6secLine = 5 * 12 + 1; // four lines a channel, three channels a mode
    lines[t6secLine] = "3\r";
    QFile wrong(dir.filePath("wrong.ini"));
    ASSERT_TRUE(wrong.open(QIODevice::WriteOnly));
    wrong.write(lines.join('\n'));
    wrong.close();
    const std::size_t sent = server.unit<sim::Ri1rUnit>()->requests().size();
    EXPECT_EQ(cli({"ri1r", "write", "--port", com, wrong.fileName()}), 2);
    EXPECT_EQ(server.unit<sim::Ri1rUnit>()->requests().size(), sent);

    QFile damaged(dir.filePath("short.ini"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(text.left(text.size() / 2));
    damaged.close();
    const std::size_t before = server.unit<sim::Ri1rUnit>()->requests().size();
    EXPECT_EQ(cli({"ri1r", "write", "--port", com, damaged.fileName()}), 6);
    EXPECT_EQ(cli({"ri1r", "diff", "--port", com, damaged.fileName()}), 6);
    EXPECT_EQ(server.unit<sim::Ri1rUnit>()->requests().size(), before);
    server.stop();
}

class CliZi2z3Test : public CliTest {
public:
    std::unique_ptr<sim::SimUnit> makeUnit() override { return std::make_unique<sim::Zi2z3Unit>(); }
    sim::UnitAccess<sim::Zi2z3Unit> bench() { return server->unit<sim::Zi2z3Unit>(); }
};

// The bench's settings read, changed and refused when out of a byte's range;
// its commands' packets printed decoded, each as it came.
TEST_F(CliZi2z3Test, SettingsAndBenchPackets) {
    struct Case {
        const char* name;
        QStringList args;
        int exitCode;
        QStringList said; // on standard output, or error for a failure
        bool nothingSent;
    };
    const Case cases[] = {
        {"read", {"zi2z3", "settings", "--port", "%PORT%"}, 0, {"T11 = 5", "T23 = 60"}, false},
        {"set",
         {"zi2z3", "settings", "--port", "%PORT%", "--set", "T11=30,t23=200"},
         0,
         {"T11 = 30", "T12 = 3", "T23 = 200"},
         false},
        {"set past a byte",
         {"zi2z3", "settings", "--port", "%PORT%", "--set", "T11=300"},
         2,
         {"T11 — нужно целое число от 0 до 255"},
         true},
        {"packets",
         {"zi2z3", "bench", "--port", "%PORT%", "0x80", "--watch", "2"},
         0,
         {"Место 1, Статус: нет платы: нет", "Место 1, Ton11, Измерено: 30.03 с",
          "Место 2, Tauto12, Измерено: 200.02 с"},
         false},
        {"no such command", {"zi2z3", "bench", "--port", "%PORT%", "0x99"}, 2, {"0x99"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = bench()->requests().size();
        const TRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        for (const QString& said : c.said)
            EXPECT_TRUE((c.exitCode == 0 ? r.out : r.err).contains(said)) << r.out.toStdString();
        if (c.nothingSent) {
            EXPECT_EQ(bench()->requests().size(), before);
        }
    }
    EXPECT_EQ(bench()->delays(), (std::array<std::uint8_t, 6>{30, 3, 60, 5, 3, 200}));
}
