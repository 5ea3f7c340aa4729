#include "page_fixture.h"

#include <QDir>
#include <QGroupBox>

namespace {
const QStringList kSessionControls{"ComboBox2", "Panel1",   "GroupBox2", "GroupBox3",
                                   "Button6",   "Button13", "Button7",   "Button8"};
}

TEST_F(Ri1rPageTest, StartsAsDesigned) {
    EXPECT_EQ(window->PageControl1->tabText(window->PageControl1->indexOf(window->TabSheet2)),
              QStringLiteral("RI1-R"));
    for (const QString& name : kSessionControls)
        EXPECT_FALSE(enabled(name)) << name.toStdString();
    for (const char* name : {"Button5", "Button9", "Button10", "Button16", "Button14", "Button15"})
        EXPECT_TRUE(enabled(QLatin1String(name))) << name;
    EXPECT_EQ(text("QV1MverLabel"), QStringLiteral("Устройство: ?"));
    EXPECT_EQ(status(), QStringLiteral("Статус: ..."));
    EXPECT_EQ(text("Volt2OporaEdit"), QStringLiteral("5.25"));
    for (const char* name : {"edBut_Lvl_DO", "edBut_Lvl_UD", "edBut_Lvl_SC"})
        EXPECT_EQ(text(QLatin1String(name)), QStringLiteral("?"));
    for (int label = 79; label <= 87; ++label)
        EXPECT_EQ(text(QStringLiteral("Label%1").arg(label)),
                  (label - 79) % 3 == 1 ? QStringLiteral("-") : QStringLiteral(">= 0"));
    auto* combo = child<QComboBox>("ComboBox2");
    ASSERT_EQ(combo->count(), 7);
    EXPECT_EQ(combo->itemText(0), "1");
    EXPECT_EQ(combo->itemText(6), "7");
    EXPECT_EQ(child<QGroupBox>("GB_K3K4")->title(), "K3-K4");
    EXPECT_EQ(child<QGroupBox>("GroupBox3")->parentWidget(), child<QGroupBox>("GroupBox2"))
        << "the thresholds belong to the mode settings";
    EXPECT_TRUE(child<QRadioButton>("RadioGroupK2_0")->isChecked());
    EXPECT_EQ(child<QPushButton>("Button13")->text(),
              QStringLiteral("Переключиться на работу по выбранному режиму"));
    EXPECT_EQ(page->iNumMode, 0);
    EXPECT_EQ(static_cast<TQv1mSet&>(*page), TQv1mSet{});
    EXPECT_EQ(window->sInitDate, "00.00.00");
}

TEST_F(Ri1rPageTest, EntriesAreReadLenientlyWhenTheModeIsLeft) {
    page->prQV1ControlsOn();
    type("edTonM1", "abc");
    type("edT6secM1", "12x");
    type("edToffM1", " 7");
    type("edTonM2", "70000");
    pickMode(4);
    EXPECT_EQ(page->iNumMode, 4);
    const RQV1M_val1 stored = page->mQV1M_1[0];
    EXPECT_EQ(stored.wTimePrevOn, 0);
    EXPECT_EQ(stored.wTime6sec, 12);
    EXPECT_EQ(stored.wTimePrevOff, 7);
    EXPECT_EQ(page->mQV1M_2[0].wTimePrevOn, 4464);
    // Coming back shows the stored values in five places.
    pickMode(0);
    EXPECT_EQ(text("edT6secM1"), QStringLiteral("   12"));
    EXPECT_EQ(text("edTonM2"), QStringLiteral(" 4464"));
    type("edTimeErrK1", "300");
    page->prQV1GetTimeErr();
    EXPECT_EQ(page->mQV1M_s.bTimePausePrevErr_K1, 44);
}

TEST_F(Ri1rPageTest, ModeTwoLocksChannelsTwoAndThree) {
    page->mQV1M_2[1] = {5, 6, 7, 0x03};
    page->mQV1M_3[1] = {8, 9, 10, 0x0C};
    page->prQV1ControlsOn();
    pickMode(1);
    for (const char* name : {"edTonM2", "edT6secM2", "edToffM2", "RadioGroup3", "RadioGroupK2",
                             "edTonM3", "edT6secM3", "edToffM3", "RadioGroup5", "RadioGroupK3"})
        EXPECT_FALSE(enabled(QLatin1String(name))) << name;
    for (const char* name : {"chbEnErrK3K4", "chbInverseK5K6", "GB_K5K6", "edTonM1"})
        EXPECT_TRUE(enabled(QLatin1String(name))) << name;
    // A locked channel still shows its record.
    EXPECT_EQ(text("edToffM3"), QStringLiteral("   10"));
    EXPECT_TRUE(child<QRadioButton>("RadioGroup3_1")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("chbInverseK5K6")->isChecked());
    // Leaving mode 2 stores the locked fields too.
    click("chbEnErrK3K4");
    pickMode(2);
    EXPECT_EQ(page->mQV1M_2[1], (RQV1M_val1{5, 6, 7, 0x07}));
    EXPECT_EQ(page->mQV1M_3[1], (RQV1M_val1{8, 9, 10, 0x0C}));
    // Modes 3 and 4 lock channel 3 only.
    EXPECT_TRUE(enabled("RadioGroupK2"));
    EXPECT_FALSE(enabled("RadioGroupK3"));
    pickMode(4);
    EXPECT_TRUE(enabled("RadioGroupK3"));
}

TEST_F(Ri1rPageTest, RadioGroupsSwitchTheTimeEditsAndHints) {
    page->prQV1ControlsOn();
    page->prQV1ShowMode(0);
    EXPECT_FALSE(enabled("edT6secM2"));
    EXPECT_EQ(text("Label83"), "-");
    click("RadioGroupK2_1"); // "по времени"
    EXPECT_TRUE(enabled("edT6secM2"));
    EXPECT_EQ(text("Label83"), "> 6");
    EXPECT_FALSE(enabled("edToffM2"));
    EXPECT_EQ(text("Label84"), "-");
    click("RadioGroup3_1"); // "попеременно"
    EXPECT_EQ(text("Label82"), "> T6sec");
    EXPECT_EQ(text("Label83"), "> 0");
    EXPECT_EQ(text("Label84"), "> 0");
    EXPECT_TRUE(enabled("edToffM2"));
    click("RadioGroupK2_0");
    EXPECT_EQ(text("Label82"), ">= 0");
    EXPECT_TRUE(enabled("edT6secM2"));
    // Other channels are untouched.
    EXPECT_EQ(text("Label80"), "-");
}

TEST_F(Ri1rPageTest, HighFlagBitsAreDroppedOnceShownAndStored) {
    page->mQV1M_1[3].bFlag = 0xF5;
    page->prQV1ControlsOn();
    pickMode(3);
    EXPECT_TRUE(child<QRadioButton>("RadioGroup1_1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("RadioGroupK1_0")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("chbEnErrK1K2")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("chbInverseK1K2")->isChecked());
    pickMode(2);
    EXPECT_EQ(page->mQV1M_1[3].bFlag, 0x05);
}

TEST_F(Ri1rPageTest, NothingMovesWhileACommandRuns) {
    page->prQV1ControlsOn();
    page->mQV1M_1[1].wTimePrevOn = 99;
    window->fBlockPressKey = true;
    pickMode(1);
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentIndex(), 1);
    EXPECT_EQ(page->iNumMode, 0);
    EXPECT_EQ(text("edTonM1"), "    0");
    click("RadioGroupK1_1");
    EXPECT_EQ(text("Label80"), "-"); // rules not applied
    for (const char* b : {"Button5", "Button6", "Button7", "Button8", "Button9", "Button10",
                          "Button13", "Button14", "Button15", "Button16"})
        click(QLatin1String(b));
    EXPECT_TRUE(unit.frames.empty());
    EXPECT_EQ(status(), QStringLiteral("Статус: ..."));
    EXPECT_TRUE(window->fBlockPressKey);
}

TEST_F(Ri1rPageTest, ThresholdsFollowTheReferenceField) {
    page->mQV1M_s.wBut_Lvl_DO = 400;
    page->mQV1M_s.wBut_Lvl_UD = 401;
    page->mQV1M_s.wBut_Lvl_SC = 1024;
    page->mQV1M_s.bFlagMode_E = 0x01;
    page->prQV1ControlsOn();
    type("Volt2OporaEdit", "5,25");
    page->prQV1ShowVoltFlags();
    EXPECT_EQ(page->mQV1M_s.rVolt, 5.25);
    EXPECT_EQ(text("edBut_Lvl_DO"), "2.05");
    EXPECT_EQ(text("edBut_Lvl_UD"), "2.06");
    EXPECT_EQ(text("edBut_Lvl_SC"), "5.25");
    EXPECT_TRUE(child<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("CheckBox4")->isChecked());
    click("CheckBox4");
    type("edBut_Lvl_SC", "2,5");
    page->prQV1GetVoltFlags();
    EXPECT_EQ(page->mQV1M_s.wBut_Lvl_DO, 400);
    EXPECT_EQ(page->mQV1M_s.wBut_Lvl_UD, 402);
    EXPECT_EQ(page->mQV1M_s.wBut_Lvl_SC, 488);
    EXPECT_EQ(page->mQV1M_s.bFlagMode_E, 0x03);
    // A reference that is no positive number converts nothing.
    type("Volt2OporaEdit", "0");
    page->prQV1GetVoltFlags();
    EXPECT_EQ(page->mQV1M_s.wBut_Lvl_SC, 488);
    page->prQV1ShowVoltFlags();
    EXPECT_EQ(text("edBut_Lvl_DO"), "?");
    type("Volt2OporaEdit", "abc");
    type("edBut_Lvl_DO", "1");
    page->prQV1GetVoltFlags();
    EXPECT_EQ(page->mQV1M_s.wBut_Lvl_DO, 400);
}

TEST_F(Ri1rPageTest, Screenshot) {
    fillMemory(unit.memory);
    unit.setModeDigit('1');
    click("Button5");
    ASSERT_EQ(status(), QStringLiteral("Статус: успешно"));
    const QPixmap shot = window->grab();
    EXPECT_FALSE(shot.isNull());
    // Set RELCON4_SHOT_DIR to keep the picture (docs/ri1r-page.png).
    const QString dir = qEnvironmentVariable("RELCON4_SHOT_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(shot.save(QDir(dir).filePath(QStringLiteral("ri1r-page.png"))));
    }
}
