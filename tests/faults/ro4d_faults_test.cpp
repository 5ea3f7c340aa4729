// Every RO-4D command against every fault on the line.
#include "line_fixture.h"

#include "devices/qv4m/qv4m_registers.h"
#include "exchange/exchange_state.h"
#include "ro4d_unit.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "support/log_lines.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace line {
namespace {

const QString kDone = QStringLiteral("Статус: выполнено");
const QString kFailed = QStringLiteral("Статус: ошибка");

// Replies: the version, then pages 0 to 6 (page 0 fills T_240_Edit, page 2
// VoltHiSigEditEdit and TimeMode3_Edit); the faults hit page 1. Frames: 6 bytes a page request,
// 22 a write frame; the write's faults hit frame 2. Every reply's CRC is examined.
const std::vector<LineCommand> kCommands{
    {"Read",
     "RdDataButton",
     8,
     6,
     2,
     false,
     kDone,
     kFailed,
     {},
     {{"T_240_Edit", 1}, {"VoltHiSigEditEdit", 3}, {"TimeMode3_Edit", 3}},
     true},
    {"Write", "WrDataButton", 7, 22, 1, true, kDone, kFailed, kFailed, {}, true},
    {"SaveToFlash", "SaveToFlashButton", 1, 5, 0, true, kDone, kFailed, kFailed, {}, true},
    {"Restart", "RestartButton", 1, 5, 0, false, kDone, kFailed, {}, {}, true},
    {"ReadErrors", "RdErrButton", 1, 5, 0, false, kDone, kFailed, {}, {}, true},
    {"ReadAdc", "Button18", 1, 6, 0, false, kDone, kFailed, {}, {}, true},
};

class Ro4dOnLine : public LineFixture {
protected:
    static void SetUpTestSuite() {
        ResetQv4mRegisters();
        StartLine(std::make_unique<sim::Ro4dUnit>(sim::Ro4dBoard::V2));
    }
    static void TearDownTestSuite() {
        StopLine();
        ResetQv4mRegisters();
    }

    QList<QWidget*> roots() const override {
        return {Relcon4->TabSheet1, Relcon4->TabSheet3, Relcon4->TabSheet6};
    }
    const char* statusLabel() const override { return "StatusLabel1"; }
    std::vector<TypedEntry> entries() const override {
        // Within the unit's limits, so a write of them is taken.
        return {{"T_240_Edit", QStringLiteral("123")},
                {"VoltHiSigEditEdit", QStringLiteral("2,71")},
                {"TimeMode3_Edit", QStringLiteral("17")}};
    }
    const LineCommand& quickCommand() const override { return kCommands[4]; }
    // Writing and saving wait for a first read; the ADC read for a 2.x board's page.
    void prepare(const LineCommand& command) override {
        if (qstrcmp(command.button, "RdDataButton") == 0 || button("WrDataButton")->isEnabled())
            return;
        press("RdDataButton");
        ASSERT_EQ(status(), kDone);
    }
};

TEST_P(Ro4dOnLine, EndsInItsStatusAndKeepsTheEntries) {
    runCase();
}

INSTANTIATE_TEST_SUITE_P(Commands, Ro4dOnLine, ::testing::ValuesIn(Cases(kCommands)), CaseName);

// A unit that does not answer the version is still read, as a 1.x board;
// the label stays empty and the log says how the board was taken.
TEST_F(Ro4dOnLine, LostVersionReadsTheUnitAsAnOldBoard) {
    press("RdDataButton");
    ASSERT_EQ(status(), kDone);
    ASSERT_EQ(Relcon4->bVers, 0x21);
    server().unit()->clearRequests();
    ResetLogState();
    addFault(LineFault::Silence, 0);
    press("RdDataButton");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(Relcon4->bVers, 0x10);
    EXPECT_DOUBLE_EQ(Relcon4->rVoltOpora, 5.5);
    EXPECT_FALSE(find<QWidget>("AdcGroupBox")->isVisibleTo(Relcon4->TabSheet6));
    EXPECT_EQ(find<QLabel>("VerrQV4Label")->text(), QStringLiteral("Версия: "));
    EXPECT_EQ(LogLinesIn(clLogRed),
              QStringList{QStringLiteral("Версия платы не считана: плата принята за 1.x")});
    std::vector<std::uint8_t> asked;
    for (const sim::Bytes& r : server().unit()->requests())
        asked.push_back(r[2] == 1 ? r[3] : 0xFF);
    EXPECT_EQ(asked, (std::vector<std::uint8_t>{0xFF, 0, 1, 2, 3, 4, 5, 6}))
        << "the version, then the seven pages";
    expectIdle("after the lost version");
    recover(LineFault::Silence);
    press("RdDataButton");
    EXPECT_EQ(Relcon4->bVers, 0x21) << "the next read sees the board again";
}

} // namespace
} // namespace line
