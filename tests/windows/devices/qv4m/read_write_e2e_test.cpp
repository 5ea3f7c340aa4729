// What a read puts on the pages is what the unit holds, and a write after it
// sends back exactly that: the unit's own times, the codes of the voltages,
// and never a reply that answered another request.
#include "commands_fixture.h"

#include "devices/compare/compare_form.h"
#include "devices/entries/entry_marks.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/ro4d_compare.h"
#include "exchange/log_state.h"
#include "support/log_lines.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QLabel>
#include <QTableWidget>

using namespace ro4d_e2e;

namespace {

const QString kDone = QStringLiteral("Статус: выполнено");
const QString kMatches = QStringLiteral("Статус: совпадает");

// Every edit of the two parameter pages as "name=text".
QStringList Shown() {
    QStringList all;
    for (QWidget* tab : {Relcon4->TabSheet3, Relcon4->TabSheet6})
        for (QLineEdit* e : tab->findChildren<QLineEdit*>())
            all << e->objectName() + QLatin1Char('=') + e->text();
    return all;
}

// The rows of the difference window, for a failure's message.
std::string RowsShown() {
    QStringList rows;
    const TCompareForm* form = CompareFormOf(Relcon4);
    for (int r = 0; form && r < form->DifferencesTable->rowCount(); ++r)
        for (int c = 0; c < 3; ++c)
            rows << form->DifferencesTable->item(r, c)->text();
    return rows.join(QStringLiteral(" | ")).toStdString();
}

// The seven write frames, CRC included, that put these registers back.
std::vector<sim::Bytes> FramesFor(const Ro4dUnit::Registers& registers) {
    TRo4dUnitImage unit;
    std::copy(registers.begin(), registers.end(), unit.registers.begin());
    const TRo4dImage image = unit.image();
    std::vector<sim::Bytes> frames;
    for (const TRo4dRequest& r : WriteRequests(image.params, image.mode))
        frames.push_back(
            sim::Ro4dRequest(r.bytes[2], sim::Bytes(r.bytes.begin() + 3, r.bytes.end())));
    return frames;
}

} // namespace

// Unit A, then unit B: B's T_mode3, T_wait and test period are shown, even
// the values no page would let through, and the page then matches B.
TEST_F(Ro4dCommandsTest, ReadShowsTheUnitsOwnTimesAndPeriod) {
    struct Case {
        std::uint16_t mode3, wait, period;
        const char *shownMode3, *shownWait, *shownPeriod;
        // A word never written (all ones) is shown as read, and marked.
        bool marked;
    };
    const Case cases[] = {
        {45, 7, 600, "45", "7", "600", false},
        {30, 1, 120, "30", "1", "120", false},
        {0xFFFF, 0, 0xFFFF, "65535", "0", "65535", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownMode3);
        {
            auto u = unit();
            u->registers()[bNsecWorkAfterBtnUp_3] = c.mode3;
            u->registers()[bValue_T_wait] = c.wait;
            u->registers()[cVolt_Lvl_TimePeriod] = c.period;
        }
        click("RdDataButton");
        ASSERT_EQ(status(), kDone);
        EXPECT_EQ(text("TimeMode3_Edit"), QLatin1String(c.shownMode3));
        EXPECT_EQ(text("T_wait_Edit"), QLatin1String(c.shownWait));
        EXPECT_EQ(text("PeriodTimeTestEdit"), QLatin1String(c.shownPeriod));
        EXPECT_EQ(IsEntryMarked(find<QLineEdit>("TimeMode3_Edit")), c.marked);
        EXPECT_FALSE(IsEntryMarked(find<QLineEdit>("T_wait_Edit")));
        EXPECT_EQ(IsEntryMarked(find<QLineEdit>("PeriodTimeTestEdit")), c.marked);
        click("ComparePageButton");
        EXPECT_EQ(status(), kMatches) << RowsShown();
    }
}

// Read, change nothing, write: every frame carries the words as they were
// read, byte for byte, and the unit is left as it was. An edited threshold
// alone is converted from its volts.
struct TRoundTrip {
    const char* name;
    Ro4dBoard board;
    // Registers set on the unit before the read: {register, value}.
    std::vector<std::pair<int, std::uint16_t>> registers;
};

void PrintTo(const TRoundTrip& c, std::ostream* os) {
    *os << c.name;
}

class Ro4dRoundTripTest : public Ro4dCommandsTest,
                          public ::testing::WithParamInterface<TRoundTrip> {
protected:
    void SetUp() override { start(GetParam().board); }
};

TEST_P(Ro4dRoundTripTest, WriteAfterReadSendsEveryWordAsRead) {
    // Only the write's frames go out: no read-back after it.
    find<QCheckBox>("VerifyWriteCheckBox")->setChecked(false);
    for (const auto& [r, value] : GetParam().registers)
        unit()->registers()[static_cast<std::size_t>(r)] = value;
    const Ro4dUnit::Registers before = unit()->registers();
    click("RdDataButton");
    ASSERT_EQ(status(), kDone);
    click("ComparePageButton");
    EXPECT_EQ(status(), kMatches) << RowsShown();

    unit()->clearRequests();
    click("WrDataButton");
    ASSERT_EQ(status(), kDone);
    const auto sent = unit()->requests();
    EXPECT_EQ(std::vector<sim::Bytes>(sent.begin(), sent.end()), FramesFor(before));
    EXPECT_EQ(unit()->registers(), before);

    // The same volts typed anew count as an edit: converted from the volts
    // (on the factory 2.x board 2.85 V, code 883 as read, goes out as 884).
    setText("VoltDnBtnEditEdit", text("VoltDnBtnEditEdit") + QLatin1Char('0'));
    click("WrDataButton");
    ASSERT_EQ(status(), kDone);
    Ro4dUnit::Registers edited = before;
    edited[wBut_Lvl_UD] =
        AdcCode(LenientToDouble(text("VoltDnBtnEditEdit")), LenientToDouble(text("VoltOporaEdit")));
    EXPECT_EQ(unit()->registers(), edited);
}

INSTANTIATE_TEST_SUITE_P(Boards, Ro4dRoundTripTest,
                         ::testing::Values(
                             // 883 and 768 show as 2.85 V and 2.48 V, which convert to 884 and 770.
                             TRoundTrip{"Board2xFactory", Ro4dBoard::V2, {}},
                             TRoundTrip{"Board2xOwnCodes",
                                        Ro4dBoard::V2,
                                        {{wTest_Lvl_DO, 700},
                                         {cVolt_Lvl_L, 333},
                                         {bVoltRef, 230},
                                         {wBut_Lvl_DO, 1001},
                                         {wBut_Lvl_UD, 883},
                                         {wSig_Lvl_SC, 641},
                                         {wNsecWork_T_end, 0x0105},
                                         {bValue_T_wait, 9}}},
                             TRoundTrip{"Board1xOwnCodes",
                                        Ro4dBoard::V1,
                                        {{cVolt_Lvl_L, 300},
                                         {bVoltRef, 240},
                                         {wBut_Lvl_DO, 1000},
                                         {wBut_Lvl_UD, 900},
                                         {wSig_Lvl_DO, 650},
                                         {bNsecWorkAfterBtnUp_3, 44}}}),
                         [](const ::testing::TestParamInfo<TRoundTrip>& info) {
                             return info.param.name;
                         });

// A unit that answers the version later than the time-out: its reply arrives
// while page 0 is asked for. It is dropped as another command's, and the page
// request's own attempts decide; no page shows the version's bytes.
struct TLateVersion {
    const char* name;
    int attempts;
    bool readDone; // page 0 has attempts left after the dropped reply
};

void PrintTo(const TLateVersion& c, std::ostream* os) {
    *os << c.name;
}

class Ro4dLateReplyTest : public Ro4dCommandsTest,
                          public ::testing::WithParamInterface<TLateVersion> {
protected:
    // A 1.x board: a lost version costs it nothing but the version text.
    void SetUp() override { start(Ro4dBoard::V1); }
};

TEST_P(Ro4dLateReplyTest, LateReplyNeverLandsInAPage) {
    // At the line's own rate the read stops at the page reply's length, in
    // the middle of the longer version reply.
    server->setLineRate(9600);
    constexpr int kTimeOutMs = 200;
    TimeOut = kTimeOutMs;
    ExchangeState.NumOfRepeat = GetParam().attempts;
    unit()->registers()[cKoncErrTime] = 100;
    unit()->faults().add({FaultKind::Late, kTimeOutMs * 3 / 2, GetParam().attempts, 0});
    ResetLogState();
    const QStringList untouched = Shown();

    click("RdDataButton");
    EXPECT_EQ(status(), GetParam().readDone ? kDone : QStringLiteral("Статус: ошибка"));
    EXPECT_EQ(find<QLabel>("VerrQV4Label")->text(), QStringLiteral("Версия: "));
    EXPECT_TRUE(LogLinesIn(clLogRed).contains(
        QStringLiteral("Отброшен ответ на команду 0 (версия): запрошена команда 1 (чтение "
                       "страницы)")))
        << LogLinesIn(clLogRed).join('|').toStdString();
    expectIdle();
    const QStringList afterLate = Shown();

    // The same unit read again without the fault: what the page must show.
    ASSERT_TRUE(testenv::WaitFor([this] { return server->quiet(); }));
    unit()->faults().clear();
    click("RdDataButton");
    ASSERT_EQ(status(), kDone);
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("100"));
    EXPECT_EQ(afterLate, GetParam().readDone ? Shown() : untouched);
}

INSTANTIATE_TEST_SUITE_P(Attempts, Ro4dLateReplyTest,
                         ::testing::Values(TLateVersion{"OneAttempt", 1, false},
                                           TLateVersion{"ThreeAttempts", 3, true}),
                         [](const ::testing::TestParamInfo<TLateVersion>& info) {
                             return info.param.name;
                         });
