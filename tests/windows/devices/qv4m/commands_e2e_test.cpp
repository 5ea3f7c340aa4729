// The commands page against the simulated RO-4D on a real pseudo-terminal,
// driven through its buttons. Each command returns only when it has finished
// (its waits pump events), so no test sleeps. The reply time-out of 300 ms
// is three times what a page reply needs on the line, so a loaded machine
// does not fail a good exchange, and keeps a silent unit's three attempts short.
#include "devices/compare/compare_form.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/qv4m_mode_page.h"
#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/qv4m_registers.h"
#include "devices/qv4m/stat_err_form.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "port/settings_file.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "shell/user_options.h"
#include "support/recording_interaction.h"

#include "commands_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace ro4d_e2e;

TEST_F(Ro4dCommandsTest, ReadShowsTheUnitOnAllPagesAndEnablesWriting) {
    EXPECT_FALSE(find("WrDataButton")->isEnabled());
    EXPECT_FALSE(find("SaveToFlashButton")->isEnabled());
    {
        auto u = unit();
        u->registers()[5] = 100;     // T_240
        u->registers()[9] = 0x0105;  // T_end, a whole word
        u->registers()[13] = 900;    // button open-line threshold
        u->registers()[19] = 0x1804; // M2 unused
        u->registers()[24] = 0x3315; // C3 line not monitored
    }
    click("RdDataButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: выполнено"));
    expectIdle();
    EXPECT_EQ(find<QLabel>("VerrQV4Label")->text(),
              QStringLiteral("Версия: VI-4D v.2.1 15.03.19 "));
    EXPECT_EQ(Relcon4->bVers, 0x21);
    EXPECT_DOUBLE_EQ(Relcon4->rVoltOpora, 3.63);
    EXPECT_TRUE(find<QWidget>("AdcGroupBox")->isVisibleTo(Relcon4->TabSheet6));
    EXPECT_FALSE(find<QWidget>("VoltLowTestMotorEdit")->isVisibleTo(Relcon4->TabSheet6));

    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("100"));
    EXPECT_EQ(text("T_end_Edit"), QStringLiteral("261"));
    EXPECT_EQ(text("VoltOporaEdit"), FormatVolts(3.30));
    EXPECT_EQ(text("Edit1"), FormatVolts(2.35));
    EXPECT_EQ(text("Edit2"), FormatVolts(1.60));
    EXPECT_EQ(text("VoltHiBtnEdit"), FormatVolts(CodeVolts(900, RefVolts(232, 3.63))));
    EXPECT_EQ(find<QComboBox>("MainModeComboBox")->currentIndex(), 0);
    EXPECT_FALSE(find("C3_check_CheckBox")->isChecked());
    EXPECT_TRUE(find("C1_check_CheckBox")->isChecked());
    EXPECT_EQ(ModeWordsOf(*Relcon4).a.flagWork, 0x053C);
    EXPECT_EQ(ModeWordsOf(*Relcon4).b.flagWork, 0x051C);
    EXPECT_TRUE(find("WrDataButton")->isEnabled());
    EXPECT_TRUE(find("SaveToFlashButton")->isEnabled());
    EXPECT_EQ(mExtraWords, TExtraWords{});
}

TEST_F(Ro4dCommandsTest, WriteThenReadBackGivesTheSameWords) {
    click("RdDataButton");
    ASSERT_EQ(status(), QStringLiteral("Статус: выполнено"));
    setText("T_240_Edit", QStringLiteral("77"));
    setText("Edit2", QStringLiteral("1,25"));
    find("IfBadK3OffM1CheckBox")->setChecked(false);
    click("WrDataButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: выполнено"));
    expectIdle();
    EXPECT_EQ(requestsOf(5), 7);
    const TParamRegs written = mParamRegs;
    const TModeRegs writtenMode = mModeRegs;
    {
        auto u = unit();
        for (int r = 0; r <= 24; ++r)
            EXPECT_EQ(u->registers()[r], written[r]) << "register " << r;
        for (int n = 0; n < 20; ++n)
            EXPECT_EQ(u->registers()[32 + n], writtenMode[n]) << "mode word " << n;
        EXPECT_EQ(u->registers()[5], 77);
    }
    setText("T_240_Edit", QStringLiteral("1"));
    click("RdDataButton");
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("77"));
    EXPECT_EQ(text("Edit2"), FormatVolts(1.25));
    EXPECT_FALSE(find("IfBadK3OffM1CheckBox")->isChecked());
    const auto readBack = ModeWordsOf(*Relcon4).toArray();
    for (int n = 0; n < 20; ++n)
        EXPECT_EQ(readBack[n], writtenMode[n]) << "mode word " << n;
}

TEST_F(Ro4dCommandsTest, RestartKeepsOnlyWhatWasSavedToFlash) {
    click("RdDataButton");
    setText("T_240_Edit", QStringLiteral("55"));
    click("WrDataButton");
    click("SaveToFlashButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: выполнено"));
    EXPECT_EQ(unit()->flashSaves(), 1);
    click("RestartButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: выполнено"));
    EXPECT_EQ(unit()->restarts(), 1);
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("55")) << "no read after a restart";
    click("RdDataButton");
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("55"));

    setText("T_240_Edit", QStringLiteral("66"));
    click("WrDataButton");
    EXPECT_EQ(unit()->registers()[5], 66);
    click("RestartButton");
    click("RdDataButton");
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("55"));
    expectIdle();
}

TEST_F(Ro4dCommandsTest, ReadErrorsTicksExactlyTheReportedBits) {
    unit()->setErrors(0x0041, 0x0084, 0x21);
    StatErrForm->prSetCB(0xFFFF, 0xFFFF, 0xFF);
    click("RdErrButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: выполнено"));
    EXPECT_TRUE(StatErrForm->isVisible());
    const QStringList expected{"CheckBox19", "CheckBox5",  "CheckBox21",
                               "CheckBox25", "CheckBox13", "CheckBox18"};
    const auto boxes = StatErrForm->findChildren<QCheckBox*>();
    EXPECT_EQ(boxes.size(), 25);
    for (QCheckBox* b : boxes)
        EXPECT_EQ(b->isChecked(), expected.contains(b->objectName()))
            << b->objectName().toStdString();

    // A failed read leaves the window up with its boxes cleared.
    addFault(FaultKind::Silence);
    click("RdErrButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка"));
    EXPECT_TRUE(StatErrForm->isVisible());
    for (QCheckBox* b : boxes)
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    expectIdle();
}

TEST_F(Ro4dCommandsTest, AdcReadShowsTheVoltageAndKeepsTheSettings) {
    unit()->setAdc(5, 512);
    unit()->setAdc(1, 1000);
    setText("VoltOporaEdit", QStringLiteral("3.30"));
    find<QComboBox>("ComboBox3")->setCurrentIndex(5); // "Джамперы"
    click("Button18");
    EXPECT_EQ(status(), QStringLiteral("Статус: выполнено"));
    EXPECT_EQ(find<QLabel>("Label119")->text(),
              QStringLiteral("Значение: ") + FormatVolts(1.65) + QStringLiteral(" [В]"));
    EXPECT_DOUBLE_EQ(Relcon4->rVoltOpora, 5.5);
    EXPECT_EQ(mParamRegs, TParamRegs{});

    find<QComboBox>("ComboBox3")->setCurrentIndex(-1); // no selection reads the jumpers
    click("Button18");
    EXPECT_EQ(find<QLabel>("Label119")->text(),
              QStringLiteral("Значение: ") + FormatVolts(1.65) + QStringLiteral(" [В]"));

    addFault(FaultKind::Silence);
    click("Button18");
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка"));
    EXPECT_EQ(find<QLabel>("Label119")->text(), QStringLiteral("Значение: ..."));
    expectIdle();
}

TEST_F(Ro4dCommandsTest, SilentUnitEndsInErrorAndKeepsThePages) {
    addFault(FaultKind::Silence);
    click("RdDataButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка"));
    EXPECT_EQ(find<QLabel>("VerrQV4Label")->text(), QStringLiteral("Версия: "));
    EXPECT_EQ(Relcon4->bVers, 0x10) << "no version: read as a 1.x board";
    EXPECT_EQ(requestsOf(1), ExchangeState.NumOfRepeat) << "page 0 in its attempts, then no more";
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("240"));
    EXPECT_FALSE(find("WrDataButton")->isEnabled());
    expectIdle();
}

TEST_F(Ro4dCommandsTest, RefusedWriteStopsAtTheFirstFrame) {
    click("RdDataButton");
    const auto before = unit()->registers();
    addFault(FaultKind::Refuse);
    setText("T_240_Edit", QStringLiteral("99"));
    click("WrDataButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка"));
    EXPECT_EQ(requestsOf(5), 1) << "later frames are not sent";
    EXPECT_EQ(unit()->registers(), before);
    click("SaveToFlashButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка"));
    EXPECT_EQ(unit()->flashSaves(), 0);
    expectIdle();
}

TEST_F(Ro4dCommandsTest, UnitDroppingOffMidReadKeepsTheEarlierPages) {
    unit()->registers()[5] = 100;  // page 0
    unit()->registers()[16] = 900; // page 2
    // The version and pages 0 and 1 come back, then the line drops.
    addFault(FaultKind::DropLine, 3);
    click("RdDataButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка"));
    EXPECT_EQ(text("T_240_Edit"), QStringLiteral("100"));
    EXPECT_EQ(text("VoltOporaEdit"), FormatVolts(3.30));
    EXPECT_EQ(text("VoltHiSigEditEdit"), QStringLiteral("4.85")) << "page 2 never came";
    EXPECT_FALSE(find("WrDataButton")->isEnabled());
    expectIdle();
}

TEST_F(Ro4dCommandsTest, BusyWindowIgnoresEveryCommand) {
    Relcon4->fBlockPressKey = true;
    for (const char* b : {"RdDataButton", "RestartButton", "RdErrButton", "Button18"})
        click(b);
    EXPECT_EQ(status(), QStringLiteral("Статус: ..."));
    EXPECT_TRUE(unit()->requests().empty());
    Relcon4->fBlockPressKey = false;
}

TEST_F(Ro4dCommandsOldBoardTest, LowerTestLimitSurvivesWriteAndRead) {
    click("RdDataButton");
    EXPECT_EQ(Relcon4->bVers, 0x19);
    EXPECT_DOUBLE_EQ(Relcon4->rVoltOpora, 5.5);
    EXPECT_FALSE(find<QWidget>("AdcGroupBox")->isVisibleTo(Relcon4->TabSheet6));
    EXPECT_EQ(text("VoltLowTestMotorEdit"), FormatVolts(1.00));
    setText("VoltLowTestMotorEdit", QStringLiteral("1.50"));
    click("WrDataButton");
    EXPECT_EQ(unit()->registers()[10], 0);
    EXPECT_EQ(unit()->registers()[11], 307);
    setText("VoltLowTestMotorEdit", QStringLiteral("0"));
    click("RdDataButton");
    EXPECT_EQ(text("VoltLowTestMotorEdit"), FormatVolts(1.50));
}

namespace {

// The difference window's verdict and its rows as "place | unit | other".
struct TShown {
    QString verdict;
    QStringList rows;
};

TShown Shown() {
    TCompareForm* form = CompareFormOf(Relcon4);
    TShown shown{form->VerdictLabel->text(), {}};
    for (int r = 0; r < form->DifferencesTable->rowCount(); ++r)
        shown.rows << QStringList{form->DifferencesTable->item(r, 0)->text(),
                                  form->DifferencesTable->item(r, 1)->text(),
                                  form->DifferencesTable->item(r, 2)->text()}
                          .join(QStringLiteral(" | "));
    return shown;
}

} // namespace

TEST_F(Ro4dCommandsTest, CompareWithFileReadsTheUnitAndLeavesThePagesAlone) {
    const QString path = dir.filePath(QStringLiteral("unit.qvf"));
    TRo4dUnitImage factory;
    factory.registers = Ro4dUnit::FactoryRegisters(Ro4dBoard::V2);
    const TRo4dImage file = factory.image();
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(ConfigFileBytes(file.params, file.mode, file.extra));
    out.close();
    setText("T_end_Edit", QStringLiteral("77"));

    const auto compare = [&](const QString& name) {
        user.openFileAnswers.push_back(name);
        unit()->clearRequests();
        click("CompareFileButton");
        expectIdle();
    };
    compare(path);
    EXPECT_EQ(status(), QStringLiteral("Статус: совпадает"));
    EXPECT_EQ(Shown().verdict, QStringLiteral("Совпадает"));
    EXPECT_EQ(requestsOf(0) + requestsOf(1), 8) << "the version and the seven pages, as a read";
    EXPECT_EQ(text("T_end_Edit"), QStringLiteral("77")) << "the pages are not touched";
    EXPECT_FALSE(find("WrDataButton")->isEnabled());

    unit()->registers()[9] = 12;
    compare(path);
    EXPECT_EQ(status(), QStringLiteral("Статус: различий: 1"));
    EXPECT_EQ(Shown().rows, QStringList{QStringLiteral(
                                "[сек] - T_end - время работы после срабатывания концевика | "
                                "12 сек | 10 сек")});

    // A damaged file goes no further than its reason.
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Append));
    out.write("x");
    out.close();
    compare(path);
    EXPECT_EQ(status(), QStringLiteral("Статус: файл не принят — в файле 149 байт, а в файле "
                                       "конфигурации их 148"));
    EXPECT_TRUE(unit()->requests().empty());

    // A unit that falls silent after three pages: never "Совпадает".
    ASSERT_TRUE(QFile::resize(path, kConfigFileBytes));
    addFault(FaultKind::Silence, 4);
    compare(path);
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибка, сравнение неполное"));
    EXPECT_TRUE(Shown().verdict.startsWith(QStringLiteral("Сравнение неполное: устройство не "
                                                          "ответило на чтение страницы 3")))
        << Shown().verdict.toStdString();
}

TEST_F(Ro4dCommandsTest, VerifyAfterWriteCatchesAUnitThatKeepsItsOldWords) {
    auto* verify = find<QCheckBox>("VerifyWriteCheckBox");
    EXPECT_FALSE(verify->isChecked()) << "off unless the user asks";
    verify->setChecked(true);
    EXPECT_TRUE(UserOption(kVerifyRo4dWrite, false)) << "remembered for the user";
    click("RdDataButton");
    setText("T_end_Edit", QStringLiteral("12"));
    click("ComparePageButton");
    // What the write would change: the new time alone (the thresholds keep
    // the codes they were read as).
    EXPECT_EQ(status(), QStringLiteral("Статус: различий: 1"));
    EXPECT_EQ(Shown().rows, QStringList{QStringLiteral(
                                "[сек] - T_end - время работы после срабатывания концевика | "
                                "10 сек | 12 сек")});

    click("WrDataButton");
    EXPECT_EQ(status(), QStringLiteral("Статус: выполнено, устройство хранит записанное"));
    EXPECT_EQ(unit()->registers()[9], 12);

    // The unit answers "done" to the second frame (T_end among its words) and keeps the old ones.
    addFault(FaultKind::Keep, 1, 1);
    setText("T_end_Edit", QStringLiteral("14"));
    unit()->clearRequests();
    click("WrDataButton");
    expectIdle();
    EXPECT_EQ(status(),
              QStringLiteral("Статус: выполнено, но устройство хранит не то, что записано"));
    EXPECT_EQ(requestsOf(5), 7);
    EXPECT_EQ(requestsOf(1), 7) << "the seven pages read back";
    EXPECT_TRUE(CompareFormOf(Relcon4)->isVisible());
    EXPECT_EQ(Shown().rows, QStringList{QStringLiteral(
                                "[сек] - T_end - время работы после срабатывания концевика | "
                                "12 сек | 14 сек")});
    // The option is kept for the user: the cases after this one start without it.
    verify->setChecked(false);
}
