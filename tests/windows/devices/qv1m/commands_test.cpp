#include "page_fixture.h"

#include "exchange/monitor_form.h"
#include "shell/app_windows.h"
#include "support/log_lines.h"

namespace {
const QString kDone = QStringLiteral("Статус: успешно");
const QString kLinkErrors = QStringLiteral("Статус: ошибки связи");
const QString kNotDone = QStringLiteral("Статус: не выполнено");
const QString kBadParameters = QStringLiteral("Статус: ошибки в параметрах");
const QString kWriteErrors = QStringLiteral("Статус: возникли ошибки при записи");

// An exchange log for the page's notes, from an empty ring.
struct LogWindow {
    LogWindow() {
        ResetLogState();
        MonitorForm = new TMonitorForm;
    }
    ~LogWindow() {
        delete MonitorForm;
        MonitorForm = nullptr;
        ResetLogState();
    }
    LogWindow(const LogWindow&) = delete;
    LogWindow& operator=(const LogWindow&) = delete;
};
} // namespace

TEST_F(Ri1rPageTest, SessionStartReadsTheWholeSet) {
    fillMemory(unit.memory);
    unit.setModeDigit('3');
    click("Button5");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(unit.commands(), "sooooooopr");
    EXPECT_EQ(unit.frames[0], (TMasBytes{0x08, 0x73, 0x52, 0x34, 0x43, 0x46, 0x47, 0x3C}));
    EXPECT_EQ(unit.frames[7], (TMasBytes{0x04, 0x6F, 0x37, 0x3C}));
    EXPECT_FALSE(unit.portOpen);
    EXPECT_EQ(unit.opens, 1);
    EXPECT_FALSE(window->fBlockPressKey);
    EXPECT_EQ(text("QV1MverLabel"), QStringLiteral("Устройство: RI1-R 1.05 Пример    08.12.25  3"));
    EXPECT_EQ(window->sInitDate, "08.12.25");
    // The unit's mode "3" is item "3", index 2.
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentText(), "3");
    EXPECT_EQ(page->iNumMode, 2);
    TQv1mSet expected = unit.memory;
    expected.mQV1M_s.rVolt = 5.25;
    EXPECT_EQ(static_cast<TQv1mSet&>(*page), expected);
    EXPECT_EQ(text("edTonM1"), "  211");
    EXPECT_EQ(text("edToffM3"), "  233");
    EXPECT_EQ(text("edTimeErrK3"), "30");
    EXPECT_EQ(text("edBut_Lvl_UD"), "2.06");
    EXPECT_TRUE(child<QCheckBox>("CheckBox4")->isChecked());
    for (const char* name : {"ComboBox2", "Panel1", "GroupBox2", "GroupBox3", "Button6", "Button7",
                             "Button8", "Button13", "edTonM2"})
        EXPECT_TRUE(enabled(QLatin1String(name))) << name;
    EXPECT_FALSE(enabled("edTonM3"));
}

TEST_F(Ri1rPageTest, SessionStartInModeTwoKeepsChannelsTwoAndThreeLocked) {
    unit.setModeDigit('2');
    unit.memory.mQV1M_2[1].bFlag = kQv1FlagByTime; // rules would enable T6sec if applied
    click("Button5");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(page->iNumMode, 1);
    for (const char* name : {"edTonM2", "edT6secM2", "edToffM2", "RadioGroup3", "RadioGroupK2",
                             "edTonM3", "edT6secM3", "edToffM3", "RadioGroup5", "RadioGroupK3"})
        EXPECT_FALSE(enabled(QLatin1String(name))) << name;
}

TEST_F(Ri1rPageTest, SessionStartWithAModeDigitOutsideTheList) {
    unit.setModeDigit('9');
    click("Button5");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(page->iNumMode, 0);
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentIndex(), 0);
}

TEST_F(Ri1rPageTest, SessionStartBrokenAtTheThirdModeRead) {
    fillMemory(unit.memory);
    unit.setModeDigit('5');
    unit.answerLimit = 3; // "s", mode 1, mode 2
    click("Button5");
    EXPECT_EQ(status(), kLinkErrors);
    EXPECT_EQ(unit.commands(), "sooo");
    EXPECT_EQ(page->mQV1M_1[0], unit.memory.mQV1M_1[0]);
    EXPECT_EQ(page->mQV1M_3[1], unit.memory.mQV1M_3[1]);
    EXPECT_EQ(page->mQV1M_1[2], RQV1M_val1{});
    EXPECT_EQ(page->iNumMode, 0);
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentIndex(), 0);
    EXPECT_EQ(text("edTonM1"), "    0");
    EXPECT_FALSE(enabled("Panel1"));
    EXPECT_FALSE(unit.portOpen);
    EXPECT_FALSE(window->fBlockPressKey);
}

TEST_F(Ri1rPageTest, SilentOrShortSessionStartLeavesNoIdentity) {
    unit.answerLimit = 0;
    click("Button5");
    EXPECT_EQ(status(), kLinkErrors);
    EXPECT_EQ(text("QV1MverLabel"), QStringLiteral("Устройство: ?"));
    EXPECT_EQ(window->sInitDate, "00.00.00");
    unit.answerLimit = -1;
    unit.shortFrom = 0; // 33 of 34 bytes
    click("Button5");
    EXPECT_EQ(status(), kLinkErrors);
    EXPECT_EQ(text("QV1MverLabel"), QStringLiteral("Устройство: ?"));
}

TEST_F(Ri1rPageTest, WriteSelectedModeStoresThePageFirst) {
    startSession();
    pickMode(6);
    type("edTonM1", "4660");
    click("Button6");
    EXPECT_EQ(status(), kDone);
    ASSERT_EQ(unit.frames.size(), 1u);
    const TMasBytes& f = unit.frames[0];
    EXPECT_EQ(f.size(), 24u);
    EXPECT_EQ(f[0], 0x18);
    EXPECT_EQ(f[1], 0x37);
    EXPECT_EQ(f[2], 0x34);
    EXPECT_EQ(f[3], 0x12);
    EXPECT_EQ(f[23], 0x3C);
    EXPECT_EQ(unit.memory.mQV1M_1[6].wTimePrevOn, 4660);
    unit.refuse['7'] = 2;
    click("Button6");
    EXPECT_EQ(status(), kBadParameters);
    unit.answerLimit = 0;
    click("Button6");
    EXPECT_EQ(status(), kNotDone);
    EXPECT_FALSE(unit.portOpen);
}

TEST_F(Ri1rPageTest, WriteCommonSettingsInThreeSteps) {
    startSession();
    type("edTimeErrK1", "10");
    type("edTimeErrK2", "20");
    type("edTimeErrK3", "30");
    type("edBut_Lvl_DO", "2.05");
    click("Button7");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(unit.commands(), "i0t");
    EXPECT_EQ(unit.frames[0], (TMasBytes{0x09, 0x69, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x3C}));
    EXPECT_EQ(unit.frames[1][3] | unit.frames[1][4] << 8, 400);
    unit.frames.clear();
    unit.refuse['0'] = 1;
    click("Button7");
    EXPECT_EQ(status(), kBadParameters);
    EXPECT_EQ(unit.commands(), "i0");
    unit.frames.clear();
    unit.answerLimit = 0;
    click("Button7");
    EXPECT_EQ(status(), kNotDone);
    EXPECT_EQ(unit.commands(), "i");
}

TEST_F(Ri1rPageTest, ReleaseDateIsWrittenOnlyOnce) {
    PcDate = {8, 12, 2025};
    unit.setDate("00.00.00");
    startSession();
    click("Button8");
    EXPECT_EQ(status(), kDone);
    ASSERT_EQ(unit.frames.size(), 1u);
    EXPECT_EQ(unit.frames[0], (TMasBytes{0x06, 0x64, 0x08, 0x12, 0x25, 0x3C}));
    unit.answerLimit = 1;
    click("Button8");
    EXPECT_EQ(status(), kBadParameters);
    {
        const LogWindow log;
        unit.answerLimit = -1;
        unit.refuse['d'] = 4;
        click("Button8");
        EXPECT_EQ(status(), kBadParameters) << "a refused date is not written";
        EXPECT_EQ(LogLinesIn(clLogRed),
                  QStringList{QStringLiteral("Устройство отказало: запись даты выпуска (код 04)")});
        unit.refuse.clear();
    }

    unit.answerLimit = -1;
    unit.setDate("01.02.24");
    startSession();
    click("Button8");
    EXPECT_EQ(status(), QStringLiteral("Статус: дата инициализации уже прописана"));
    EXPECT_TRUE(unit.frames.empty());
    EXPECT_EQ(unit.opens, 0);
}

TEST_F(Ri1rPageTest, EndOfSessionAndRestart) {
    startSession();
    click("Button9");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(unit.frames.back(), (TMasBytes{0x04, 0x71, 0x00, 0x3C}));
    EXPECT_TRUE(enabled("Panel1"));
    unit.refuse['q'] = 5;
    click("Button10");
    EXPECT_EQ(status(), kBadParameters);
    EXPECT_EQ(unit.frames.back(), (TMasBytes{0x04, 0x71, 0x01, 0x3C}));
    EXPECT_TRUE(enabled("Button6"));
    unit.answerLimit = 0;
    click("Button9");
    EXPECT_EQ(status(), kNotDone);
    EXPECT_FALSE(enabled("Panel1"));
    EXPECT_FALSE(enabled("Button6"));
    EXPECT_FALSE(unit.portOpen);
}

TEST_F(Ri1rPageTest, SwitchToTheSelectedMode) {
    startSession();
    pickMode(3);
    type("edTonM1", "777"); // not stored, not sent
    click("Button13");
    EXPECT_EQ(status(), kDone);
    ASSERT_EQ(unit.frames.size(), 1u);
    EXPECT_EQ(unit.frames[0], (TMasBytes{0x04, 0x75, 0x34, 0x3C}));
    EXPECT_NE(page->mQV1M_1[3].wTimePrevOn, 777);
    unit.refuse['u'] = 1;
    click("Button13");
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка"));
    unit.answerLimit = 0;
    click("Button13");
    EXPECT_EQ(status(), kNotDone);
}

TEST_F(Ri1rPageTest, WriteTheWholeSet) {
    fillMemory(*page);
    page->mQV1M_s.bTimePausePrevErr_K1 = 9;
    PcDate = {8, 12, 2025};
    // The write's own session start shows the unit's date unset.
    unit.setDate("00.00.00");
    click("Button16");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(unit.commands(), "s1234567i0dq");
    EXPECT_EQ(unit.frames[1][1], '1');
    EXPECT_EQ(unit.frames[8], (TMasBytes{0x09, 0x69, 0x09, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x3C}));
    EXPECT_EQ(unit.frames[10], (TMasBytes{0x06, 0x64, 0x08, 0x12, 0x25, 0x3C}));
    EXPECT_EQ(unit.frames[11], (TMasBytes{0x04, 0x71, 0x01, 0x3C}));
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(unit.memory.channel(c), page->channel(c));
    // With a release date known, "t" takes the place of "d".
    unit.setDate("08.12.25");
    startSession();
    click("Button16");
    EXPECT_EQ(status(), kDone);
    EXPECT_EQ(unit.commands(), "s1234567i0tq");
    unit.frames.clear();
    unit.answerLimit = 4;
    click("Button16");
    EXPECT_EQ(status(), kWriteErrors);
    EXPECT_EQ(unit.commands(), "s1234");
    EXPECT_FALSE(unit.portOpen);
}

// A step the unit refuses ends the whole-set write there, and the log names it.
TEST_F(Ri1rPageTest, WriteTheWholeSetStopsAtARefusedStep) {
    const LogWindow log;
    struct Case {
        std::uint8_t command;
        const char* sent;
        const char* note;
    } const cases[] = {
        {'3', "s123", "запись режима 3 (код 03)"},
        {'0', "s1234567i0", "запись порогов напряжений (код 03)"},
        {'t', "s1234567i0t", "команда \"t\" (код 03)"},
        {'q', "s1234567i0tq", "завершение сеанса с перезапуском (код 03)"},
    };
    unit.setDate("01.02.24");
    startSession();
    for (const Case& c : cases) {
        unit.refuse = {{c.command, 3}};
        unit.frames.clear();
        ResetLogState();
        click("Button16");
        EXPECT_EQ(status(), kWriteErrors) << c.sent;
        EXPECT_EQ(unit.commands(), c.sent);
        EXPECT_EQ(LogLinesIn(clLogRed),
                  QStringList{QStringLiteral("Устройство отказало: ") + QString::fromUtf8(c.note)});
        EXPECT_FALSE(unit.portOpen);
    }
}
