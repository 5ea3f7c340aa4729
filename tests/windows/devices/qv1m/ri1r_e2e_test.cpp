// The RI1-R page on the program's real line: windows as at start-up, the
// engine on a pseudo-terminal, the simulated unit at the other end. Frames are
// checked in the unit's own request record. Each exchange waits at most
// 300 ms for a reply, one attempt: the simulator answers within a few ms, so
// a loaded machine has ample margin, and a silent step costs a third of a
// second. No assert here measures time.
#include "core/devices/qv1m/qstring_print.h"
#include "devices/compare/compare_form.h"
#include "devices/entries/entry_marks.h"
#include "devices/qv1/qv1_link.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/qv1m_page.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "port/port_rules.h"
#include "port/settings_file.h"
#include "shell/app_globals.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"
#include "support/recording_interaction.h"

#include "ri1r_unit.h"
#include "sim_server.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kDone = QStringLiteral("Статус: успешно");
const QString kNotDone = QStringLiteral("Статус: не выполнено");
const QString kBadParameters = QStringLiteral("Статус: ошибки в параметрах");
const QString kLinkErrors = QStringLiteral("Статус: ошибки связи");

RQV1M_val1 AsPageChannel(const sim::Ri1rChannel& c) {
    return {c.ton, c.t6sec, c.toff, c.flag};
}

class Ri1rWireTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        ExchangeState.Reset();
        ResetAppGlobals();
        ResetExchangeSettings();
        server = std::make_unique<sim::SimServer>(std::make_unique<sim::Ri1rUnit>());
        com = server->start();
        ASSERT_FALSE(com.isEmpty()) << server->errorString().toStdString();
        user = std::make_unique<RecordingInteraction>();
        CreateAppWindows(false);
        Relcon4->prActivateMasterForm(nullptr);
        ExchangeState.PortName[0] = com;
        ExchangeState.NumOfRepeat = 1;
        TimeOut = 300;
        PreSendPause = 5;
        Relcon4->PageControl1->setCurrentWidget(Relcon4->TabSheet2);
        page = Relcon4->findChild<TQv1mPage*>();
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override {
        DestroyAppWindows();
        ResetQv1Line();
        user.reset();
        server.reset();
        ResetExchangeSettings();
        ExchangeState.Reset();
    }

    auto unit() { return server->unit<sim::Ri1rUnit>(); }
    // The command bytes of the frames the unit received, in order.
    std::string commands() {
        std::string s;
        for (const sim::Bytes& f : unit()->requests())
            s += static_cast<char>(f.size() > 1 ? f[1] : '?');
        return s;
    }
    sim::Bytes lastRequest() {
        auto u = unit();
        return u->requests().empty() ? sim::Bytes{} : u->requests().back();
    }
    // The last frame's command byte; -1 when none came (a failed step must
    // fail the test, not index past an empty frame).
    int lastCommand() {
        const sim::Bytes last = lastRequest();
        return last.size() > 1 ? last[1] : -1;
    }
    void clearRequests() { unit()->clearRequests(); }

    QString text(const char* name) {
        if (auto* e = page->findChild<QLineEdit*>(QLatin1String(name)))
            return e->text();
        auto* l = page->findChild<QLabel*>(QLatin1String(name));
        EXPECT_NE(l, nullptr) << name;
        return l ? l->text() : QString();
    }
    QString status() { return text("StatusLabel2"); }
    void click(const char* name) {
        auto* b = page->findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void type(const char* name, const QString& value) {
        auto* e = page->findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_NE(e, nullptr) << name;
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, value);
    }
    void pickMode(int index) {
        auto* combo = page->findChild<QComboBox*>(QStringLiteral("ComboBox2"));
        ASSERT_NE(combo, nullptr);
        while (combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->currentIndex() > index)
            QTest::keyClick(combo, Qt::Key_Up);
    }
    void startSession() {
        click("Button5");
        ASSERT_EQ(status(), kDone);
        clearRequests();
    }
    // The port is closed and the page takes commands again.
    void expectIdle() {
        EXPECT_FALSE(ExchangeState.PortOpen[0]);
        EXPECT_FALSE(Relcon4->fBlockPressKey);
    }

    std::unique_ptr<sim::SimServer> server;
    QString com;
    std::unique_ptr<RecordingInteraction> user;
    TQv1mPage* page = nullptr;
};

} // namespace

TEST_F(Ri1rWireTest, SessionShowsTheUnitAndReadsAllSevenModes) {
    {
        auto u = unit();
        ASSERT_TRUE(u->setReleaseDate(QStringLiteral("08.12.25")));
        u->setCurrentMode(2);
        u->modes()[6][2] = {1234, 56, 78, 0x05};
    }
    click("Button5");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(commands(), "sooooooopr");
    EXPECT_EQ(unit()->requests().front(),
              (sim::Bytes{0x08, 0x73, 0x52, 0x34, 0x43, 0x46, 0x47, 0x3C}));
    EXPECT_EQ(text("QV1MverLabel"), QStringLiteral("Устройство: РИ1-Р в.1.07, выпуск 08.12.25 #3"));
    EXPECT_EQ(Relcon4->sInitDate, QStringLiteral("08.12.25"));
    EXPECT_EQ(page->iNumMode, 2);
    EXPECT_EQ(page->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->currentText(), "3");
    {
        auto u = unit();
        for (int n = 0; n < sim::Ri1rUnit::kModes; ++n)
            for (int c = 1; c <= kQv1ChannelCount; ++c)
                EXPECT_EQ(
                    page->channel(c)[static_cast<std::size_t>(n)],
                    AsPageChannel(
                        u->modes()[static_cast<std::size_t>(n)][static_cast<std::size_t>(c - 1)]))
                    << "mode " << n + 1 << " channel " << c;
    }
    EXPECT_EQ(page->mQV1M_s.bTimePausePrevErr_K1, 5);
    EXPECT_EQ(page->mQV1M_s.wBut_Lvl_DO, 293);
    EXPECT_EQ(page->mQV1M_s.wBut_Lvl_UD, 400);
    EXPECT_EQ(page->mQV1M_s.wBut_Lvl_SC, 878);
    EXPECT_EQ(text("edTimeErrK2"), "5");
    EXPECT_EQ(text("edBut_Lvl_SC"), "4.50");
    expectIdle();
    EXPECT_TRUE(user->messages.empty()) << user->texts().join('|').toStdString();
}

TEST_F(Ri1rWireTest, EachWriteSendsItsFrameAndTheUnitKeepsIt) {
    PcDate = {8, 12, 2025};
    startSession();

    // Mode 6 holds by time on all three channels; a new Ton of channel 1.
    pickMode(5);
    type("edTonM1", "4660");
    click("Button6");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(lastRequest(), Qv1WriteModeRequest(*page, 5).frame);
    EXPECT_EQ(lastCommand(), 0x36);
    EXPECT_EQ(unit()->modes()[5][0].ton, 4660);

    clearRequests();
    type("edTimeErrK1", "10");
    type("edTimeErrK2", "20");
    type("edTimeErrK3", "30");
    type("edBut_Lvl_DO", "1.60");
    click("Button7");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(commands(), "i0t");
    EXPECT_EQ(unit()->requests().front(),
              (sim::Bytes{0x09, 0x69, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x3C}));
    {
        auto u = unit();
        EXPECT_EQ(u->common().timeErr, (std::array<std::uint8_t, 3>{10, 20, 30}));
        EXPECT_EQ(u->common().lvlDo, page->mQV1M_s.wBut_Lvl_DO);
        EXPECT_EQ(u->common().lvlUd, 400);
        EXPECT_EQ(u->savedCommon(), u->common()) << "\"t\" saves";
    }

    clearRequests();
    click("Button8");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(lastRequest(), (sim::Bytes{0x06, 0x64, 0x08, 0x12, 0x25, 0x3C}));
    EXPECT_EQ(unit()->releaseDate(), QStringLiteral("08.12.25"));

    click("Button13");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(lastRequest(), (sim::Bytes{0x04, 0x75, 0x36, 0x3C}));
    EXPECT_EQ(unit()->currentMode(), 5);

    click("Button9");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(lastRequest(), (sim::Bytes{0x04, 0x71, 0x00, 0x3C}));
    EXPECT_FALSE(unit()->inSession());
    EXPECT_EQ(unit()->restarts(), 0);

    startSession();
    EXPECT_EQ(text("QV1MverLabel"), QStringLiteral("Устройство: РИ1-Р в.1.07, выпуск 08.12.25 #6"));
    click("Button10");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(lastRequest(), (sim::Bytes{0x04, 0x71, 0x01, 0x3C}));
    EXPECT_EQ(unit()->restarts(), 1);
    expectIdle();
    EXPECT_TRUE(user->messages.empty()) << user->texts().join('|').toStdString();
}

TEST_F(Ri1rWireTest, WholeSetIsWrittenInOneSession) {
    PcDate = {9, 12, 2026};
    startSession();
    // As after loading a file: the records change, the page is not stored first.
    page->mQV1M_1[0].wTimePrevOn = 7;
    type("edTonM2", "99");
    click("Button16");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(commands(), "s1234567i0dq");
    EXPECT_EQ(lastRequest(), (sim::Bytes{0x04, 0x71, 0x01, 0x3C}));
    auto u = unit();
    EXPECT_EQ(u->modes()[0][0].ton, 7);
    EXPECT_EQ(u->modes()[0][1].ton, 2) << "the page's edit is not sent";
    EXPECT_EQ(u->releaseDate(), QStringLiteral("09.12.26"));
    EXPECT_EQ(u->restarts(), 1);
}

TEST_F(Ri1rWireTest, RefusedWritesEndInTheErrorStatusAndKeepThePage) {
    startSession();
    type("edTonM1", "321");
    server->unit()->faults().add({sim::FaultKind::Refuse, -1, -1, 0});
    click("Button6");
    EXPECT_EQ(status(), kBadParameters);
    EXPECT_EQ(lastCommand(), 0x31);
    EXPECT_EQ(text("edTonM1").trimmed(), "321");
    EXPECT_EQ(page->mQV1M_1[0].wTimePrevOn, 321);
    EXPECT_NE(unit()->modes()[0][0].ton, 321);

    clearRequests();
    type("edTimeErrK1", "9");
    click("Button7");
    EXPECT_EQ(status(), kBadParameters);
    EXPECT_EQ(commands(), "i") << "a refused step stops the rest";
    EXPECT_EQ(text("edTimeErrK1"), "9");
    EXPECT_EQ(unit()->common().timeErr[0], 5);
    expectIdle();
}

// An entry the unit would refuse or the lenient reading would change is
// marked as typed; a write then sends nothing and names it.
TEST_F(Ri1rWireTest, MarkedEntriesKeepEveryWriteOffTheLine) {
    const struct {
        int mode;
        const char* edit;
        const char* text;
        const char* button;
        QString status;
        const char* names;
    } cases[] = {
        // Mode 6, channel 1 holds by time: the hint asks T6sec > 6.
        {5, "edT6secM1", "3", "Button6", kBadParameters, "T6sec, канал 1: введено «3» — меньше 7"},
        {0, "edTonM1", "70000", "Button6", kBadParameters,
         "Ton, канал 1: введено «70000» — больше 65535"},
        // Mode 4, channel 1 alternates by time: Ton > T6sec (20).
        {3, "edTonM1", "20", "Button16", QStringLiteral("Статус: возникли ошибки при записи"),
         "Ton, канал 1: введено «20» — меньше 21"},
        {0, "edTimeErrK1", "300", "Button7", kBadParameters,
         "Время до аварии K1: введено «300» — больше 255"},
        {0, "edBut_Lvl_DO", "abc", "Button7", kBadParameters, "Umin: введено «abc» — не число"},
        {0, "Volt2OporaEdit", "-1", "Button16",
         QStringLiteral("Статус: возникли ошибки при записи"), "Uацп: введено «-1» — нужно больше"},
    };
    startSession();
    for (const auto& c : cases) {
        pickMode(c.mode);
        auto* edit = page->findChild<QLineEdit*>(QLatin1String(c.edit));
        const QString before = edit->text();
        type(c.edit, QString::fromUtf8(c.text));
        EXPECT_TRUE(IsEntryMarked(edit)) << c.edit;
        user->messages.clear();
        clearRequests();
        click(c.button);
        EXPECT_EQ(commands(), "") << c.edit << ": nothing reaches the line";
        EXPECT_EQ(status(), c.status) << c.edit;
        ASSERT_EQ(user->messages.size(), 1u) << c.edit;
        EXPECT_TRUE(user->messages[0].text.contains(QString::fromUtf8(c.names)))
            << user->messages[0].text.toStdString();
        expectIdle();
        type(c.edit, before);
        EXPECT_FALSE(IsEntryMarked(edit)) << c.edit << " " << before.toStdString();
    }
    EXPECT_EQ(unit()->modes()[5][0].t6sec, 10);
    EXPECT_EQ(unit()->common().timeErr[0], 5);
}

TEST_F(Ri1rWireTest, SilenceAndADropOffEndInTheErrorStatusAndKeepThePage) {
#ifdef _WIN32
    GTEST_SKIP() << "a linked COM pair cannot be unplugged and plugged back in";
#endif
    startSession();
    type("edTonM1", "42");
    server->unit()->faults().add({sim::FaultKind::Silence, -1, 1, 0});
    click("Button6");
    EXPECT_EQ(status(), kNotDone);
    EXPECT_EQ(text("edTonM1").trimmed(), "42");
    EXPECT_EQ(lastCommand(), 0x31);
    expectIdle();

    server->unit()->faults().add({sim::FaultKind::DropLine, -1, 1, 0});
    click("Button7");
    // On a loaded machine the unit may pull its line only after the command
    // has given up waiting; what follows needs the line gone.
    ASSERT_TRUE(testenv::WaitFor([this] { return !server->lineUp(); }, std::chrono::seconds(5)));
    EXPECT_EQ(status(), kNotDone);
    EXPECT_EQ(text("edTonM1").trimmed(), "42");
    EXPECT_EQ(page->mQV1M_1[0].wTimePrevOn, 42);
    expectIdle();

    EXPECT_TRUE(user->messages.empty()) << user->texts().join('|').toStdString();

    // Still unplugged: the port does not open and says so, the write fails, nothing hangs.
    click("Button6");
    EXPECT_EQ(status(), kNotDone);
    EXPECT_EQ(user->texts(), QStringList{QStringLiteral("СОМ-порт в системе отсутствует")});
    EXPECT_EQ(text("edTonM1").trimmed(), "42");
    expectIdle();

    // The adapter plugged back in: the next session reads the unit again.
    ASSERT_TRUE(server->replug());
    click("Button5");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(text("QV1MverLabel"), QStringLiteral("Устройство: РИ1-Р в.1.07, выпуск 00.00.00 #1"));

    server->unit()->faults().add({sim::FaultKind::Silence, -1, -1, 0});
    click("Button5");
    EXPECT_EQ(status(), kLinkErrors);
    EXPECT_EQ(text("QV1MverLabel"), QStringLiteral("Устройство: ?"));
    expectIdle();
}

// A cell of the difference window; empty when the row is missing.
QString Cell(const TCompareForm& form, int row, int column) {
    const QTableWidgetItem* item = form.DifferencesTable->item(row, column);
    return item ? item->text() : QString();
}

TEST_F(Ri1rWireTest, CompareWithFileAndTheCheckOfWhatWasWritten) {
    startSession();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unit.ini"));
    const auto save = [&](const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto compare = [&] {
        user->openFileAnswers.push_back(path);
        clearRequests();
        click("Qv1CompareFileButton");
        expectIdle();
    };
    TCompareForm* form = CompareFormOf(Relcon4);
    save(Qv1mFileBytes(*page));
    compare();
    EXPECT_EQ(status(), QStringLiteral("Статус: совпадает"));
    // Its dialog lists whole sets, not the exchange settings beside them.
    ASSERT_TRUE(user->fileDialogLists.back());
    EXPECT_TRUE(user->fileDialogLists.back()(path));
    const QString settings = dir.filePath(QStringLiteral("rs_m.ini"));
    ASSERT_TRUE(SaveSettings());
    ASSERT_TRUE(QFile::copy(SettingsFilePath(), settings));
    EXPECT_FALSE(user->fileDialogLists.back()(settings));
    EXPECT_EQ(commands(), "sooooooopr") << "read as a session start reads";
    EXPECT_EQ(form->VerdictLabel->text(), QStringLiteral("Совпадает"));

    unit()->modes()[2][1].ton = 999;
    const std::uint16_t fileTon = page->mQV1M_2[2].wTimePrevOn;
    compare();
    EXPECT_EQ(status(), QStringLiteral("Статус: различий: 1"));
    EXPECT_EQ(Cell(*form, 0, 0), QStringLiteral("Режим 3, канал 2: Ton"));
    EXPECT_EQ(Cell(*form, 0, 1), QStringLiteral("999"));
    EXPECT_EQ(Cell(*form, 0, 2), QString::number(fileTon));
    EXPECT_NE(page->mQV1M_2[2].wTimePrevOn, 999) << "the page's set is not touched";

    save(Qv1mFileBytes(*page).left(200));
    compare();
    EXPECT_EQ(status(), QStringLiteral("Статус: файл не принят — в файле не хватает данных"));
    EXPECT_TRUE(unit()->requests().empty());

    save(Qv1mFileBytes(*page));
    server->unit()->faults().add({sim::FaultKind::Silence, -1, 1, 3});
    compare();
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка, сравнение неполное"));
    EXPECT_NE(form->VerdictLabel->text(), QStringLiteral("Совпадает"));

    // The check of a write: the unit acknowledges mode 6 but keeps it as it was.
    startSession();
    page->findChild<QCheckBox*>(QStringLiteral("Qv1VerifyWriteCheckBox"))->setChecked(true);
    pickMode(5);
    type("edTonM1", "4660");
    server->unit()->faults().add({sim::FaultKind::Keep, -1, 1, 0});
    click("Button6");
    expectIdle();
    EXPECT_EQ(status(),
              QStringLiteral("Статус: успешно, но устройство хранит не то, что записано"));
    EXPECT_EQ(commands(), "6o");
    EXPECT_EQ(Cell(*form, 0, 0), QStringLiteral("Режим 6, канал 1: Ton"));
    EXPECT_EQ(Cell(*form, 0, 2), QStringLiteral("4660"));

    clearRequests();
    click("Button16");
    expectIdle();
    EXPECT_EQ(status(), QStringLiteral("Статус: успешно, устройство хранит записанное"));
    EXPECT_TRUE(commands().ends_with("qsooooooopr"
                                     "q"))
        << commands();
    // The option is kept for the user: the cases after this one start without it.
    page->findChild<QCheckBox*>(QStringLiteral("Qv1VerifyWriteCheckBox"))->setChecked(false);
}

// "Load all settings" after a file was loaded, with no session start first:
// the write's own session start decides whether the release date is sent,
// whatever date an earlier session with another unit left behind.
TEST_F(Ri1rWireTest, WholeSetAfterAFileSendsTheDateOnlyToAUnitWithout) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // The page keeps QV1M.ini in the current folder.
    const struct Back {
        QString folder = QDir::currentPath();
        ~Back() { QDir::setCurrent(folder); }
    } back;
    QDir::setCurrent(folder.path());
    startSession();
    click("Button14");
    ASSERT_EQ(status(), kDone);
    PcDate = {9, 12, 2026};
    struct Case {
        const char* name;
        const char* unitDate;
        const char* earlierSession; // sInitDate left by a session with another unit
        const char* sent;
        const char* dateAfter;
    } const cases[] = {
        {"dated unit", "05.11.24", "00.00.00", "s1234567i0tq", "05.11.24"},
        {"unit without a date", "00.00.00", "00.00.00", "s1234567i0dq", "09.12.26"},
        {"unit without a date after a dated one", "00.00.00", "05.11.24", "s1234567i0dq",
         "09.12.26"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(unit()->setReleaseDate(QString::fromUtf8(c.unitDate)));
        Relcon4->sInitDate = QString::fromUtf8(c.earlierSession);
        click("Button15");
        ASSERT_EQ(status(), kDone);
        clearRequests();
        click("Button16");
        EXPECT_EQ(status(), kDone);
        EXPECT_EQ(commands(), c.sent);
        EXPECT_EQ(unit()->releaseDate(), QString::fromUtf8(c.dateAfter));
        EXPECT_EQ(text("QV1MverLabel"),
                  QStringLiteral("Устройство: РИ1-Р в.1.07, выпуск %1 #1").arg(c.unitDate));
        EXPECT_EQ(Relcon4->sInitDate, QString::fromUtf8(c.unitDate));
        expectIdle();
    }
    EXPECT_TRUE(user->messages.empty()) << user->texts().join('|').toStdString();
}

// The status bar follows the port, the unit identified on it, its session
// and the page's file, step by step as a technician goes.
TEST_F(Ri1rWireTest, StatusBarSaysWhereTheTechnicianIs) {
    QTemporaryDir here;
    ASSERT_TRUE(here.isValid());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(here.path());
    const QString shown = PortDisplayName(com);
    const auto summary = [] { return Relcon4->WhereBar->summary(); };
    const struct {
        const char* step;
        std::function<void()> act;
        QStringList shows, hides;
    } steps[] = {
        {"port chosen", [&] { Relcon4->prShowPortOnButton(shown); }, {shown}, {"сеанс"}},
        {"session", [&] { click("Button5"); }, {"RI1-R: РИ1-Р в.1.07", "сеанс RI1-R открыт"}, {}},
        {"saved",
         [&] { click("Button14"); },
         {"Файл: " + QDir::toNativeSeparators(here.filePath("QV1M.ini"))},
         {}},
        {"another page",
         [&] { Relcon4->PageControl1->setCurrentWidget(Relcon4->TabSheet4); },
         {"сеанс RI1-R открыт"},
         {"Файл:"}},
        {"back",
         [&] { Relcon4->PageControl1->setCurrentWidget(Relcon4->TabSheet2); },
         {"Файл:"},
         {}},
        {"session ended", [&] { click("Button9"); }, {"RI1-R: РИ1-Р в.1.07"}, {"сеанс"}},
        {"session again", [&] { click("Button5"); }, {"сеанс RI1-R открыт"}, {}},
        {"another port",
         [&] { Relcon4->prShowPortOnButton(QStringLiteral("COM 96")); },
         {"COM 96", "Устройство не опознано"},
         {"сеанс", "RI1-R:"}},
    };
    for (const auto& s : steps) {
        s.act();
        for (const QString& part : s.shows)
            EXPECT_TRUE(summary().contains(part)) << s.step << ": " << summary().toStdString();
        for (const QString& part : s.hides)
            EXPECT_FALSE(summary().contains(part)) << s.step << ": " << summary().toStdString();
    }
    QDir::setCurrent(previous);
}

// The same 95-line set under a name of the technician's choice: saved from
// the unit, loaded back over an edit, each named in the status bar.
TEST_F(Ri1rWireTest, SetSavedAndLoadedUnderAnotherName) {
    QTemporaryDir here;
    ASSERT_TRUE(here.isValid());
    const QString file = here.filePath(QStringLiteral("корпус-2-щит-5.ini"));
    startSession();
    user->saveFileAnswers.push_back(file);
    page->SaveSetAsClick();
    EXPECT_EQ(status(), kDone);
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().count("\r\n"), 95);
    EXPECT_TRUE(Relcon4->WhereBar->summary().contains(QDir::toNativeSeparators(file)));

    const QString before = text("edTimeErrK1");
    type("edTimeErrK1", "77");
    user->openFileAnswers.push_back(file);
    page->LoadSetFromClick();
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(text("edTimeErrK1"), before);
}
