// The archive on the program's real line: windows as at start-up, the
// engine on a pseudo-terminal, a simulated unit at the other end. Each
// command of a page leaves its record holding what the unit holds, byte for
// byte; a record loaded into its page and written sends the very frames
// writing the page it was read into sent.
#include "archive/archive_config.h"
#include "archive/archive_form.h"
#include "archive/archive_model.h"
#include "archive/archive_recorder.h"
#include "archive/archive_recording.h"
#include "devices/compare/compare_form.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/qv4m_registers.h"
#include "devices/qv4m/ro4d_compare.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "shell/app_globals.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "shell/user_options.h"
#include "support/program_line.h"

#include "ri1r_unit.h"
#include "ro4d_unit.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Frames = std::deque<sim::Bytes>;

TRo4dImage ImageOf(const sim::Ro4dUnit::Registers& registers) {
    TRo4dUnitImage unit;
    std::copy(registers.begin(), registers.end(), unit.registers.begin());
    return unit.image();
}

TQv1mSet SetOf(const sim::Ri1rUnit& u) {
    TQv1mSet set;
    for (int n = 0; n < kQv1ModeCount; ++n)
        for (int c = 1; c <= kQv1ChannelCount; ++c) {
            const sim::Ri1rChannel& k = u.modes()[n][static_cast<std::size_t>(c - 1)];
            set.channel(c)[static_cast<std::size_t>(n)] = {k.ton, k.t6sec, k.toff, k.flag};
        }
    const sim::Ri1rCommon& s = u.common();
    set.mQV1M_s.bTimePausePrevErr_K1 = s.timeErr[0];
    set.mQV1M_s.bTimePausePrevErr_K2 = s.timeErr[1];
    set.mQV1M_s.bTimePausePrevErr_K3 = s.timeErr[2];
    set.mQV1M_s.bFlagMode_E = s.flags;
    set.mQV1M_s.wBut_Lvl_DO = s.lvlDo;
    set.mQV1M_s.wBut_Lvl_UD = s.lvlUd;
    set.mQV1M_s.wBut_Lvl_SC = s.lvlSc;
    return set;
}

// The unit's part of a set: all but Uацп, which only the page keeps.
TQv1mSet UnitPart(TQv1mSet set) {
    set.mQV1M_s.rVolt = 0;
    return set;
}

class ArchiveLineTest : public ProgramLineTest {
public:
    void TearDown() override {
        ProgramLineTest::TearDown();
        SetUserOption(kArchiveBeforeWrite, false);
    }
    template <typename T = QPushButton> T* find(const char* name) {
        for (QWidget* tab : {Relcon4->TabSheet1, Relcon4->TabSheet3, Relcon4->TabSheet6,
                             Relcon4->TabSheet2, Relcon4->TabSheet4})
            if (T* w = tab->findChild<T*>(QLatin1String(name)))
                return w;
        ADD_FAILURE() << name;
        return nullptr;
    }
    void click(const char* name) { find(name)->click(); }
    void type(const char* name, const QString& text) { find<QLineEdit>(name)->setText(text); }
    static QList<TArchiveRecord> records() { return ProgramArchive().List({}, 0, -1, true); }
    Frames requests() { return server->unit()->requests(); }
    void clearRequests() { server->unit()->clearRequests(); }
    // The record newest first in the archive window, loaded into its page.
    void loadNewest(int row) {
        TArchiveForm* form = ArchiveFormOf(Relcon4);
        form->ShowArchive();
        form->RecordsTable->selectRow(row);
        form->LoadButton->click();
        ASSERT_TRUE(form->StatusLabel->text().startsWith(QStringLiteral("Загружено")))
            << form->StatusLabel->text().toStdString();
    }
};

} // namespace

// Each command, one after another on one unit: its record names it, holds
// what the unit holds, and the newest comes first.
TEST_F(ArchiveLineTest, EachCommandLeavesItsRecordWithTheUnitsConfiguration) {
    struct Case {
        const char* unitKind;
        const char* button;
        QString operation;
        // The expected configuration, from the simulated unit after the command.
        std::function<void(ArchiveLineTest&, const TArchiveRecord&)> check;
    };
    const auto ro4dExact = [](ArchiveLineTest& t, const TArchiveRecord& r) {
        const TRo4dImage unit = ImageOf(t.server->unit<sim::Ro4dUnit>()->registers());
        EXPECT_EQ(r.config, ConfigFileBytes(unit.params, unit.mode, {}));
    };
    // A write keeps the 74 words the page sent; the unit holds its registers of them.
    const auto ro4dKept = [](ArchiveLineTest& t, const TArchiveRecord& r) {
        TRo4dImage sent;
        QString reason;
        ASSERT_TRUE(ParseConfigImage(r.config, sent, reason)) << reason.toStdString();
        const TRo4dImage unit = ImageOf(t.server->unit<sim::Ro4dUnit>()->registers());
        EXPECT_TRUE(std::equal(unit.params.begin(), unit.params.begin() + kRo4dModeRegister,
                               sent.params.begin()));
        EXPECT_TRUE(
            std::equal(unit.mode.begin(), unit.mode.begin() + kModeFieldCount, sent.mode.begin()));
    };
    const auto ri1rExact = [](ArchiveLineTest& t, const TArchiveRecord& r) {
        const TQv1mFileRead read = Qv1mParseFile(r.config);
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(UnitPart(read.set), SetOf(*t.server->unit<sim::Ri1rUnit>()));
        EXPECT_EQ(r.config.count("\r\n"), kQv1mFileLines);
    };
    const auto benchExact = [](ArchiveLineTest& t, const TArchiveRecord& r) {
        TBenchConfig config;
        ASSERT_TRUE(ParseBenchConfig(r.config, config)) << r.config.data();
        const auto delays = t.server->unit<sim::Zi2z3Unit>()->delays();
        EXPECT_TRUE(std::equal(delays.begin(), delays.end(), config.delays.begin()));
    };
    const Case cases[] = {
        {"ro4d", "RdDataButton", archive_op::Read, ro4dExact},
        {"ro4d", "WrDataButton", archive_op::Write, ro4dKept},
        {"ro4d", "SaveToFlashButton", archive_op::Flash, ro4dKept},
        {"ro4d", "RestartButton", archive_op::Restart, ro4dKept},
        {"ri1r", "Button5", archive_op::Session, ri1rExact},
        {"ri1r", "Button6", archive_op::WriteMode + QStringLiteral(" 1"), ri1rExact},
        {"ri1r", "Button7", archive_op::WriteCommon, ri1rExact},
        {"ri1r", "Button16", archive_op::WriteAll, ri1rExact},
        {"zi2z3", "Button17", archive_op::Session, benchExact},
        {"zi2z3", "QV2_WriteButton", archive_op::WriteDelays, benchExact},
        {"zi2z3", "QV2_RereadButton", archive_op::ReadDelays, benchExact},
    };
    QString running;
    int count = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        if (running != QLatin1String(c.unitKind)) {
            if (!running.isEmpty())
                TearDown();
            running = QLatin1String(c.unitKind);
            count = 0;
            if (running == QLatin1String("ro4d")) {
                auto u = std::make_unique<sim::Ro4dUnit>();
                u->registers()[bValue_T_wait] = 7;
                u->registers()[kRo4dModeRegister + 3] = 0x1234;
                start(std::move(u), Ro4dTab);
            } else if (running == QLatin1String("ri1r")) {
                auto u = std::make_unique<sim::Ri1rUnit>();
                u->modes()[0][1].ton = 321;
                u->common().lvlSc = 777;
                start(std::move(u), Ri1rTab);
            } else {
                auto u = std::make_unique<sim::Zi2z3Unit>();
                u->delays() = {12, 3, 60, 5, 3, 61};
                start(std::move(u), BenchTab);
            }
        }
        if (QLatin1String(c.button) == QLatin1String("QV2_WriteButton"))
            type("QV2_T23_Edit", QStringLiteral("42"));
        click(c.button);
        const QList<TArchiveRecord> all = records();
        ASSERT_EQ(all.size(), ++count);
        const TArchiveRecord& r = all.first();
        EXPECT_EQ(r.unit, running);
        EXPECT_EQ(r.operation, c.operation);
        EXPECT_TRUE(r.ok) << r.result.toStdString();
        EXPECT_FALSE(r.result.isEmpty());
        EXPECT_EQ(r.port, ExchangeState.PortName[0]);
        EXPECT_FALSE(r.adapter.isEmpty());
        EXPECT_FALSE(r.ident.isEmpty());
        EXPECT_EQ(r.object, QStringLiteral("Школа 5"));
        c.check(*this, r);
    }
    EXPECT_TRUE(user.messages.empty());
}

// Read, write (the frames the page sends), spoil the page, load the read's
// record into it and write again: the same frames, byte for byte.
TEST_F(ArchiveLineTest, RecordLoadedIntoThePageWritesTheFramesOfThePageItWasReadInto) {
    struct Case {
        const char* name;
        std::function<void(ArchiveLineTest&)> start;
        const char *read, *write, *spoilEdit;
    };
    const Case cases[] = {
        {"RO-4D",
         [](ArchiveLineTest& t) {
             auto u = std::make_unique<sim::Ro4dUnit>();
             u->registers()[bValue_T_wait] = 9;
             t.start(std::move(u), Ro4dTab);
             t.find<QCheckBox>("VerifyWriteCheckBox")->setChecked(false);
         },
         "RdDataButton", "WrDataButton", "T_wait_Edit"},
        {"RI1-R",
         [](ArchiveLineTest& t) {
             auto u = std::make_unique<sim::Ri1rUnit>();
             u->modes()[0][0].ton = 55;
             t.start(std::move(u), Ri1rTab);
         },
         "Button5", "Button16", "edTonM1"},
        {"ZI2-Z3",
         [](ArchiveLineTest& t) {
             auto u = std::make_unique<sim::Zi2z3Unit>();
             u->delays() = {1, 2, 3, 4, 5, 6};
             t.start(std::move(u), BenchTab);
         },
         "Button17", "QV2_WriteButton", "QV2_T12_Edit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.start(*this);
        click(c.read);
        click(c.write);
        clearRequests();
        click(c.write);
        const Frames fromPage = requests();
        ASSERT_FALSE(fromPage.empty());
        if (auto* edit = find<QLineEdit>(c.spoilEdit))
            edit->setText(QStringLiteral("17"));
        // Newest first: write, write, read.
        loadNewest(2);
        clearRequests();
        click(c.write);
        EXPECT_EQ(requests(), fromPage);
        TearDown();
    }
}

// The archive window: compare a record with the page, the unit filter, and a
// write that never reached the line leaves no record.
TEST_F(ArchiveLineTest, WindowComparesWithThePageAndFilters) {
    start(std::make_unique<sim::Ro4dUnit>(), Ro4dTab);
    click("RdDataButton");
    const QString reference = find<QLineEdit>("VoltOporaEdit")->text();
    type("VoltOporaEdit", QStringLiteral("abc"));
    click("WrDataButton");
    EXPECT_EQ(records().size(), 1);
    type("VoltOporaEdit", reference);
    TArchiveForm* form = ArchiveFormOf(Relcon4);
    form->ShowArchive();
    // Every entry is named by a label whose buddy it is.
    QSet<QWidget*> named;
    for (QLabel* label : form->findChildren<QLabel*>())
        named.insert(label->buddy());
    for (QWidget* entry : form->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(entry) || qobject_cast<QComboBox*>(entry) ||
            qobject_cast<QDateEdit*>(entry)) {
            EXPECT_TRUE(named.contains(entry) || named.contains(entry->parentWidget()))
                << entry->objectName().toStdString();
        }
    }
    EXPECT_EQ(form->Model->rowCount(), 1);
    form->RecordsTable->selectRow(0);
    EXPECT_TRUE(form->RecordText->toPlainText().contains(QStringLiteral("Операция: чтение")));
    form->ComparePageButton->click();
    EXPECT_EQ(form->StatusLabel->text(), QStringLiteral("Статус: совпадает"))
        << CompareFormOf(Relcon4)->NotesLabel->text().toStdString();
    form->UnitFilter->setCurrentIndex(form->UnitFilter->findData(kArchiveRi1r));
    form->Refilter();
    EXPECT_EQ(form->Model->rowCount(), 0);
    EXPECT_EQ(form->CountLabel->text(), QStringLiteral("Записей: 0"));
}

// With the option on, a write is preceded by a read whose record keeps what
// was on the unit before.
TEST_F(ArchiveLineTest, OptionArchivesTheUnitBeforeAWrite) {
    auto u = std::make_unique<sim::Ro4dUnit>();
    u->registers()[bValue_T_wait] = 11;
    start(std::move(u), Ro4dTab);
    find<QCheckBox>("VerifyWriteCheckBox")->setChecked(false);
    const QByteArray before = [&] {
        const TRo4dImage i = ImageOf(server->unit<sim::Ro4dUnit>()->registers());
        return ConfigFileBytes(i.params, i.mode, {});
    }();
    click("RdDataButton");
    ArchiveFormOf(Relcon4)->BeforeWriteCheckBox->setChecked(true);
    type("T_wait_Edit", QStringLiteral("3"));
    click("WrDataButton");
    const QList<TArchiveRecord> all = records();
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0].operation, archive_op::Write);
    EXPECT_EQ(all[1].operation, archive_op::BeforeWrite);
    EXPECT_EQ(all[1].config, before);
    EXPECT_NE(all[0].config, before);
}
