// The exchange parameters dialog: what it shows when it comes up, what
// "Принять" stores, and what reaches the port's lines and time-outs.
#include "core/port/settings_fixture.h"

#include "port/param_port_rules.h"
#include "shell/app_windows.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <functional>

namespace {

// Records what the dialog hands to the port.
struct PortRecord {
    QStringList calls;
    void Attach() {
        ParamPortTarget.DisableRtsControl = [this] { calls << QStringLiteral("rtsDisable"); };
        ParamPortTarget.SetDTR = [this](bool on) { calls << QStringLiteral("DTR %1").arg(on); };
        ParamPortTarget.SetRTS = [this](bool on) { calls << QStringLiteral("RTS %1").arg(on); };
        ParamPortTarget.SetTimeouts = [this](int read, int pause) {
            calls << QStringLiteral("timeouts %1 %2").arg(read).arg(pause);
        };
    }
};

class ParamPortDialog : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        form = std::make_unique<TParamPortForm>();
    }
    void TearDown() override {
        form.reset();
        SettingsFixture::TearDown();
    }
    template <typename T> T* Child(const char* name) {
        T* child = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void Accept() { QTest::mouseClick(Child<QPushButton>("ExitButton"), Qt::LeftButton); }
    // On the indicator: a click right of a short caption misses the button.
    void ClickItem(const char* name) {
        QRadioButton* item = Child<QRadioButton>(name);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
    }

    std::unique_ptr<TParamPortForm> form;
};

} // namespace

TEST(ParamPortRules, ActivationBringsThePauseToAPreset) {
    const std::tuple<int, int, int> cases[] = {
        {0, 5, 0},   {5, 5, 0},    {6, 15, 1},    {15, 15, 1},   {16, 60, 2},
        {60, 60, 2}, {61, 100, 3}, {100, 100, 3}, {101, 101, 4}, {40000, 40000, 4},
    };
    for (const auto& [pause, value, item] : cases) {
        const TItemChoice choice = PausePresetFor(pause);
        EXPECT_EQ(choice.value, value) << pause;
        EXPECT_EQ(choice.item, item) << pause;
    }
    EXPECT_EQ(ManualPauseShown(40000), 30000);
    EXPECT_EQ(ManualPauseShown(250), 250);
}

TEST(ParamPortRules, ActivationBringsTheAttemptsToAnItem) {
    const std::tuple<int, int, int> cases[] = {
        {0, 1, 0},   {1, 1, 0},   {2, 3, 1},   {4, 5, 2},      {10, 10, 3},
        {11, 25, 4}, {26, 50, 5}, {50, 50, 5}, {51, 65535, 6}, {65535, 65535, 6},
    };
    for (const auto& [count, value, item] : cases) {
        const TItemChoice choice = AttemptsItemFor(count);
        EXPECT_EQ(choice.value, value) << count;
        EXPECT_EQ(choice.item, item) << count;
    }
}

TEST(ParamPortRules, AcceptClampsWhatWasTyped) {
    EXPECT_EQ(AcceptedTimeOut(QStringLiteral("abc")), 20);
    EXPECT_EQ(AcceptedTimeOut(QStringLiteral("50000")), 30000);
    EXPECT_EQ(AcceptedTimeOut(QStringLiteral("   -7")), 20);
    EXPECT_EQ(AcceptedTimeOut(QStringLiteral("  250 мс")), 250);
    EXPECT_EQ(AcceptedTimeOut(QStringLiteral("99999999999999999999")), 30000);
    EXPECT_EQ(AcceptedPause(kManualPauseItem, QStringLiteral("50")), 101);
    EXPECT_EQ(AcceptedPause(kManualPauseItem, QStringLiteral("99999")), 30000);
    EXPECT_EQ(AcceptedPause(kManualPauseItem, QStringLiteral("")), 101);
    EXPECT_EQ(AcceptedPause(2, QStringLiteral("999")), 60);
    EXPECT_EQ(AcceptedPause(-1, QStringLiteral("999")), 100);
    const int attempts[] = {1, 3, 5, 10, 25, 50, 65535};
    for (int item = 0; item < kAttemptItems; ++item)
        EXPECT_EQ(AcceptedAttempts(item), attempts[item]);
    EXPECT_EQ(AcceptedAttempts(-1), 3);
    EXPECT_EQ(AcceptedAttempts(7), 3);
}

TEST_F(ParamPortDialog, BuiltWithItsCaptionsAndDesignState) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Параметры обмена по СОМ-порту"));
    EXPECT_EQ(Child<QGroupBox>("GroupBox1")->title(), QStringLiteral("Тайм-аут, (20..30000) мс"));
    EXPECT_EQ(Child<QRadioButton>("PreSendPauseItem2")->text(), QStringLiteral("нормально "));
    EXPECT_EQ(Child<QRadioButton>("NumOfRepeatItem6")->text(),
              QStringLiteral("вечно (на свой риск)"));
    EXPECT_FALSE(Child<QComboBox>("DTRComboBox")->isEnabled());
    EXPECT_FALSE(Child<QComboBox>("RTSComboBox")->isEnabled());
    EXPECT_EQ(Child<QComboBox>("RTSComboBox")->itemText(2), QStringLiteral("RTS don't set"));
    EXPECT_FALSE(Child<QComboBox>("StopComboBox")->isEnabled());
    EXPECT_EQ(Child<QComboBox>("StopComboBox")->currentText(), QStringLiteral("1 стоп-бит"));
    EXPECT_GE(form->width(), 299);
    EXPECT_GE(form->height(), 368);
}

TEST_F(ParamPortDialog, ComingUpShowsTheAdjustedSettings) {
    TimeOut = 1234;
    PreSendPause = 40;
    ExchangeState.NumOfRepeat = 7;
    form->show();
    EXPECT_EQ(Child<QLineEdit>("TimeOutEdit")->text(), QStringLiteral("1234"));
    EXPECT_EQ(PreSendPause, 60);
    EXPECT_EQ(form->PreSendPauseItemIndex(), 2);
    EXPECT_EQ(Child<QLineEdit>("ManualPauseEdit")->text(), QStringLiteral("60"));
    EXPECT_FALSE(Child<QLineEdit>("ManualPauseEdit")->isEnabled());
    EXPECT_EQ(ExchangeState.NumOfRepeat, 10);
    EXPECT_EQ(form->NumOfRepeatItemIndex(), 3);
    form->hide();

    PreSendPause = 45000;
    ExchangeState.NumOfRepeat = 200;
    form->show();
    EXPECT_EQ(PreSendPause, 45000);
    EXPECT_EQ(form->PreSendPauseItemIndex(), 4);
    EXPECT_EQ(Child<QLineEdit>("ManualPauseEdit")->text(), QStringLiteral("30000"));
    EXPECT_TRUE(Child<QLineEdit>("ManualPauseEdit")->isEnabled());
    EXPECT_EQ(ExchangeState.NumOfRepeat, 65535);
    EXPECT_EQ(form->NumOfRepeatItemIndex(), 6);
    EXPECT_TRUE(FileBytes().isEmpty()) << "coming up saves nothing";
}

TEST_F(ParamPortDialog, PresetClicksFillTheManualEditOnly) {
    form->show();
    ClickItem("PreSendPauseItem4");
    EXPECT_EQ(Child<QLineEdit>("ManualPauseEdit")->text(), QStringLiteral("101"));
    EXPECT_TRUE(Child<QLineEdit>("ManualPauseEdit")->isEnabled());
    ClickItem("PreSendPauseItem1");
    EXPECT_EQ(Child<QLineEdit>("ManualPauseEdit")->text(), QStringLiteral("15"));
    EXPECT_FALSE(Child<QLineEdit>("ManualPauseEdit")->isEnabled());
    EXPECT_EQ(PreSendPause, 100);
}

TEST_F(ParamPortDialog, AcceptStoresClampedValuesAndSavesThem) {
    form->show();
    Child<QLineEdit>("TimeOutEdit")->setText(QStringLiteral("50000"));
    ClickItem("PreSendPauseItem4");
    Child<QLineEdit>("ManualPauseEdit")->setText(QStringLiteral("50"));
    ClickItem("NumOfRepeatItem3");
    ExchangeState.PortName[0] = QStringLiteral("COM5");
    Accept();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(TimeOut, 30000);
    EXPECT_EQ(Child<QLineEdit>("TimeOutEdit")->text(), QStringLiteral("30000"));
    EXPECT_EQ(PreSendPause, 101);
    EXPECT_EQ(Child<QLineEdit>("ManualPauseEdit")->text(), QStringLiteral("101"));
    EXPECT_EQ(ExchangeState.NumOfRepeat, 10);

    ResetExchangeSettings();
    ExchangeState.Reset();
    LoadSettings();
    EXPECT_EQ(TimeOut, 30000);
    EXPECT_EQ(PreSendPause, 101);
    EXPECT_EQ(ExchangeState.NumOfRepeat, 10);
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM5"));

    form->show();
    Child<QLineEdit>("TimeOutEdit")->setText(QStringLiteral("нет цифр"));
    Accept();
    EXPECT_EQ(TimeOut, 20);
}

TEST_F(ParamPortDialog, ClosingOtherwiseWritesNothing) {
    form->show();
    Child<QLineEdit>("TimeOutEdit")->setText(QStringLiteral("900"));
    ClickItem("NumOfRepeatItem0");
    form->reject();
    EXPECT_EQ(TimeOut, 100);
    EXPECT_EQ(ExchangeState.NumOfRepeat, 3);
    EXPECT_TRUE(FileBytes().isEmpty());
}

TEST_F(ParamPortDialog, LinesSetByHandReachThePortAndTheFile) {
    PortRecord port;
    port.Attach();
    form->show();
    QTest::mouseClick(Child<QCheckBox>("FiksCheckBox"), Qt::LeftButton);
    EXPECT_TRUE(Child<QComboBox>("DTRComboBox")->isEnabled());
    EXPECT_TRUE(Child<QComboBox>("RTSComboBox")->isEnabled());
    Child<QComboBox>("DTRComboBox")->setCurrentIndex(0);
    Child<QComboBox>("RTSComboBox")->setCurrentIndex(2); // "RTS don't set"
    Accept();
    EXPECT_EQ(port.calls, (QStringList{QStringLiteral("rtsDisable"), QStringLiteral("DTR 0"),
                                       QStringLiteral("RTS 1")}));
    EXPECT_TRUE(FiksDtrRts);
    EXPECT_FALSE(DtrOn);
    EXPECT_TRUE(RtsOn);

    // Loading shows it back as "RTS on" and drives the lines again.
    ResetExchangeSettings();
    port.calls.clear();
    SettingsDirOverride = Folder();
    ParamPortForm = form.get();
    LoadSettings();
    ParamPortForm = nullptr;
    EXPECT_EQ(Child<QComboBox>("RTSComboBox")->currentIndex(), 1);
    EXPECT_TRUE(Child<QCheckBox>("FiksCheckBox")->isChecked());
    EXPECT_EQ(port.calls.size(), 3);

    // Off: nothing reaches the port; the lines are set off when a command opens it.
    port.calls.clear();
    QTest::mouseClick(Child<QCheckBox>("FiksCheckBox"), Qt::LeftButton);
    EXPECT_FALSE(Child<QComboBox>("DTRComboBox")->isEnabled());
    form->prSetManualValue();
    EXPECT_FALSE(FiksDtrRts);
    EXPECT_TRUE(port.calls.isEmpty());
}

TEST_F(ParamPortDialog, AnOpenPortGetsTheNewTimeoutsAtOnce) {
    PortRecord port;
    port.Attach();
    form->show();
    Child<QLineEdit>("TimeOutEdit")->setText(QStringLiteral("300"));
    Accept();
    EXPECT_TRUE(port.calls.isEmpty()) << "closed port: nothing to tell";
    ExchangeState.PortOpen[0] = true;
    form->show();
    ClickItem("PreSendPauseItem0");
    Accept();
    EXPECT_EQ(port.calls, QStringList{QStringLiteral("timeouts 300 5")});
}

namespace {

// Answers the main window's modal dialog as a user would.
class DialogUser : public Interaction {
public:
    std::function<void(QDialog*)> onDialog;
    int shown = 0;
    void plainMessage(const QString&) override {}
    int messageBox(const QString&, const QString&, unsigned) override { return IDOK; }
    int execDialog(QDialog* dialog) override {
        ++shown;
        dialog->show();
        onDialog(dialog);
        dialog->hide();
        return dialog->result();
    }
    void openUrl(const QUrl&) override {}

protected:
    QString chooseOpenFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
};

} // namespace

TEST_F(SettingsFixture, ActivationLoadsTheFileAndTheButtonOpensTheDialog) {
    ExchangeState.PortName[0] = QStringLiteral("COM2");
    ExchangeState.NumOfRepeat = 50;
    ASSERT_TRUE(SaveSettings());
    ResetExchangeSettings();
    ExchangeState.Reset();

    CreateAppWindows(false);
    Relcon4->prActivateMasterForm(nullptr);
    EXPECT_EQ(ExchangeState.NumOfRepeat, 50);
    EXPECT_EQ(Relcon4->Button1->text(), QStringLiteral("COM 2"));

    DialogUser user;
    user.onDialog = [](QDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("TimeOutEdit"))
            ->setText(QStringLiteral("640"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ExitButton")),
                          Qt::LeftButton);
    };
    Interaction* previous = setInteraction(&user);
    QTest::mouseClick(Relcon4->ParamComButton, Qt::LeftButton);
    setInteraction(previous);
    EXPECT_EQ(user.shown, 1);
    EXPECT_EQ(TimeOut, 640);
    EXPECT_TRUE(FileBytes().startsWith("640\r\n100\r\n000000\x32\r\nCOM2\r\n"));
    DestroyAppWindows();
}
