#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "platform/fake_serial_device.h"
#include "platform/pty.h"
#include "port/case_com_form.h"
#include "port_fixture.h"
#include "serial/com_port.h"
#include "shell/relcon4_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

const QString kError59 =
    QStringLiteral("Цикл выбора СОМ-порта прекращён! Порт сменить не удалось!");

class PortChange : public PortFixture {
protected:
    // Answers each showing of the port dialog by choosing the given items in
    // turn (-1 keeps the selection) and records the tries label.
    void AnswerDialogWith(std::vector<int> picks) {
        user->onDialog = [this, picks](QDialog* dialog) {
            EXPECT_EQ(dialog, CaseComForm);
            labels << CaseComForm->CountShowLabel->text();
            const std::size_t n = static_cast<std::size_t>(labels.size()) - 1;
            if (n < picks.size() && picks[n] >= 0)
                CaseComForm->ComPortComboBox->setCurrentIndex(picks[n]);
            return 1;
        };
    }
    void PressPortButton() {
        Relcon4->setEnabled(true);
        Relcon4->Button1->click();
    }
    QByteArrayList FileLines() const { return FileBytes().split('\n'); }

    QStringList labels;
};

} // namespace

TEST_F(PortChange, NoPortsThreeTriesThenError59) {
    CaseComForm->prScanComPort();
    AnswerDialogWith({});

    PressPortButton();

    EXPECT_EQ(labels, (QStringList{QStringLiteral("Попыток: 3"), QStringLiteral("Попыток: 2"),
                                   QStringLiteral("Попыток: 1")}));
    ASSERT_EQ(user->messages.size(), 1u);
    EXPECT_EQ(user->messages[0].kind, QStringLiteral("box"));
    EXPECT_EQ(user->messages[0].text, kError59);
    EXPECT_EQ(user->messages[0].caption, QStringLiteral("Ошибка #59"));
    EXPECT_EQ(user->messages[0].type, 48u);
    EXPECT_EQ(Relcon4->Button1->text(), QStringLiteral("нет"));
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    EXPECT_FALSE(QFile::exists(FilePath())) << "nothing is saved";
}

TEST_F(PortChange, ChosenPortIsOpenedClosedAtOnceAndStored) {
    platform::PseudoTerminal pty;
    ASSERT_TRUE(pty.open());
    LinkPort(QStringLiteral("COM2"), QStringLiteral("/dev/null")); // listed, but not a tty
    LinkPort(QStringLiteral("COM10"), pty.slavePath());
    CaseComForm->prScanComPort();
    ASSERT_EQ(ComPortList, (QStringList{QStringLiteral("COM 2"), QStringLiteral("COM 10")}));
    AnswerDialogWith({0, 1});

    PressPortButton();

    EXPECT_EQ(labels, (QStringList{QStringLiteral("Попыток: 3"), QStringLiteral("Попыток: 2")}));
    EXPECT_EQ(user->texts(), QStringList{QStringLiteral("СОМ-порт в системе отсутствует")});
    EXPECT_EQ(Relcon4->Button1->text(), QStringLiteral("COM 10"));
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM10"));
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    EXPECT_FALSE(MonitorForm->ComPortD1->Connected());
    const QByteArrayList lines = FileLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[3], QByteArray("COM10\r"));
    EXPECT_TRUE(LogTexts().contains(QStringLiteral("OpenNewPort: COM10 = ") + pty.slavePath()));

    // The next command opens the stored port again, on the real device.
    Relcon4->prOpenCloseCOM(0, true);
    EXPECT_TRUE(ExchangeState.PortOpen[0]);
    EXPECT_TRUE(MonitorForm->ComPortD1->Connected());
    EXPECT_EQ(MonitorForm->ComPortD1->OpenDevicePath(), pty.slavePath());
    Relcon4->prOpenCloseCOM(0, false);
    EXPECT_FALSE(MonitorForm->ComPortD1->Connected());
}

TEST_F(PortChange, ACrashedChannelWaitsForTheWatchdogBeforeTheDialog) {
    serial::FakeSerialPorts fakes;
    fakes.line(QStringLiteral("COM3"));
    LinkPort(QStringLiteral("COM3"), QStringLiteral("/dev/null"));
    CaseComForm->prScanComPort();
    ExchangeState.PortCrash[0] = true;
    // A stand-in for the watchdog: it alone clears the mark.
    int runs = 0;
    QObject::connect(Relcon4->CrashComTimer, &QTimer::timeout, Relcon4, [&runs] {
        Relcon4->CrashComTimer->stop();
        ++runs;
        ExchangeState.PortCrash[0] = false;
    });
    bool crashedAtDialog = true;
    user->onDialog = [&crashedAtDialog](QDialog*) {
        crashedAtDialog = ExchangeState.PortCrash[0];
        return 1;
    };

    EXPECT_TRUE(Relcon4->funChangeComPort(0));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(crashedAtDialog);
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM3"));
}

TEST_F(PortChange, ProgramBeingEndedStopsTheLoop) {
    LinkPort(QStringLiteral("COM3"), QStringLiteral("/dev/null"));
    serial::FakeSerialPorts fakes;
    auto line = fakes.line(QStringLiteral("COM3"));
    CaseComForm->prScanComPort();
    // The watchdog decides to end the program while the dialog is up.
    int dialogs = 0;
    user->onDialog = [&dialogs](QDialog*) {
        ++dialogs;
        CaseComForm->fExtraClose = true;
        return 1;
    };
    EXPECT_FALSE(Relcon4->funChangeComPort(0));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(line->opens(), 0);
    EXPECT_TRUE(user->messages.empty());

    // Once set, no dialog comes up at all.
    EXPECT_FALSE(Relcon4->funChangeComPort(0));
    EXPECT_EQ(dialogs, 1);
}

TEST_F(PortChange, ActivationShowsStoredPortAppliesLogOptionsAndScans) {
    LinkPort(QStringLiteral("COM3"), QStringLiteral("/dev/null"));
    serial::FakeSerialPorts fakes;
    auto line = fakes.line(QStringLiteral("COM3"));
    ExchangeState.PortName[0] = QStringLiteral("COM3");
    LogHex = false;
    LogFontSize = 8;
    ASSERT_TRUE(SaveSettings());
    const QByteArray saved = FileBytes();
    ResetExchangeSettings();
    ExchangeState.Reset();

    Relcon4->prActivateMasterForm(nullptr);

    EXPECT_EQ(Relcon4->Button1->text(), QStringLiteral("COM 3"));
    EXPECT_TRUE(MonitorForm->FormatRadioItemDec->isChecked());
    EXPECT_TRUE(MonitorForm->FontRadioItem8->isChecked());
    EXPECT_EQ(CaseComForm->ComPortComboBox->currentText(), QStringLiteral("COM 3"));
    EXPECT_TRUE(Relcon4->isEnabled());
    EXPECT_EQ(line->opens(), 0) << "activation opens no port";
    EXPECT_EQ(FileBytes(), saved) << "unchanged options write nothing";

    // A log option the user changes is kept in the file.
    MonitorForm->FormatRadioItemHex->click();
    EXPECT_TRUE(LogHex);
    const QByteArrayList lines = FileLines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[2].mid(0, 2), QByteArray("01"));
}

TEST_F(PortChange, FirstStartSaysNoPortIsChosenOnThePortButton) {
    Relcon4->prActivateMasterForm(nullptr);
    EXPECT_EQ(Relcon4->Button1->text(), QStringLiteral("COM-порт не выбран"));
    EXPECT_EQ(Relcon4->Button1->toolTip(), QStringLiteral("Выберите СОМ-порт"));
    EXPECT_EQ(CaseComForm->ComPortComboBox->count(), 0);
}

// A command before any port was chosen says what to do first and marks the
// port button; choosing a port takes the mark away.
TEST_F(PortChange, FirstStartCommandAsksToChooseAPortFirst) {
    platform::PseudoTerminal pty;
    ASSERT_TRUE(pty.open());
    LinkPort(QStringLiteral("COM4"), pty.slavePath());
    Relcon4->prActivateMasterForm(nullptr);
    auto* read = Relcon4->findChild<QPushButton*>(QStringLiteral("RdDataButton"));
    auto* status = Relcon4->findChild<QLabel*>(QStringLiteral("StatusLabel1"));
    ASSERT_TRUE(read && status);

    read->click();

    EXPECT_EQ(user->texts(), QStringList{kChoosePortFirst});
    EXPECT_EQ(status->text(), QStringLiteral("Статус: ошибка"));
    EXPECT_FALSE(Relcon4->Button1->styleSheet().isEmpty()) << "the port button is marked";

    AnswerDialogWith({0});
    PressPortButton();
    EXPECT_EQ(Relcon4->Button1->text(), QStringLiteral("COM 4"));
    EXPECT_EQ(Relcon4->Button1->toolTip(), QStringLiteral("COM 4 — ") + pty.slavePath());
    EXPECT_TRUE(Relcon4->Button1->styleSheet().isEmpty());
}

// On the very first start no port is chosen: every command says so, marks the
// port button without changing its size or caption, sends nothing and ends in
// its own failure text, with no guess about the board in the log.
TEST_F(PortChange, CommandsWithNoPortChosenEndInTheirFailureText) {
    Relcon4->prActivateMasterForm(nullptr);
    QPushButton& portButton = *Relcon4->Button1;
    const auto settledSize = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return portButton.size();
    };
    const QSize unmarked = settledSize();
    ASSERT_GT(unmarked.width(), 60);
    struct Case {
        const char* button;
        const char* statusLabel;
        const char* status;
    } const cases[] = {
        {"RdDataButton", "StatusLabel1", "Статус: ошибка"},
        {"RdErrButton", "StatusLabel1", "Статус: ошибка"},
        {"Button5", "StatusLabel2", "Статус: ошибки связи"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        auto* button = Relcon4->findChild<QPushButton*>(QLatin1String(c.button));
        auto* status = Relcon4->findChild<QLabel*>(QLatin1String(c.statusLabel));
        ASSERT_TRUE(button && status);
        user->messages.clear();
        ResetLogState();

        button->click();

        EXPECT_EQ(status->text(), QString::fromUtf8(c.status));
        EXPECT_EQ(user->texts(), QStringList{kChoosePortFirst});
        EXPECT_FALSE(portButton.styleSheet().isEmpty()) << "the port button is marked";
        EXPECT_EQ(portButton.text(), QStringLiteral("COM-порт не выбран"));
        EXPECT_EQ(settledSize(), unmarked);
        EXPECT_EQ(LogTexts().filter(QStringLiteral("Версия платы")), QStringList{});
        EXPECT_EQ(LogTexts().filter(QStringLiteral("OpenNewPort")), QStringList{})
            << "nothing is opened";
        EXPECT_FALSE(ExchangeState.PortOpen[0]);
        EXPECT_FALSE(Relcon4->fBlockPressKey);
    }
}

// A port name that is no COM1..COM96 (rs_m.ini edited by hand) is not opened
// as COM1 in its place: the unit on COM1 receives nothing.
TEST_F(PortChange, AStoredNameThatIsNoPortOpensNoOtherPort) {
    platform::PseudoTerminal pty;
    ASSERT_TRUE(pty.open());
    LinkPort(QStringLiteral("COM1"), pty.slavePath());
    Relcon4->prActivateMasterForm(nullptr);
    auto* read = Relcon4->findChild<QPushButton*>(QStringLiteral("RdDataButton"));
    auto* status = Relcon4->findChild<QLabel*>(QStringLiteral("StatusLabel1"));
    ASSERT_TRUE(read && status);
    for (const char* name : {"COMX", "COM0", "COM97"}) {
        SCOPED_TRACE(name);
        ExchangeState.PortName[0] = QString::fromUtf8(name);
        user->messages.clear();
        ResetLogState();

        read->click();

        EXPECT_EQ(status->text(), QStringLiteral("Статус: ошибка"));
        EXPECT_EQ(PlainMessages(), QStringList{QStringLiteral("СОМ-порт в системе отсутствует")});
        EXPECT_TRUE(LogTexts().contains(QStringLiteral("OpenNewPort: нет такого порта: ") +
                                        QString::fromUtf8(name)));
        EXPECT_EQ(LogTexts().filter(pty.slavePath()), QStringList{}) << "COM1 is not opened";
        EXPECT_FALSE(ExchangeState.PortOpen[0]);
        EXPECT_FALSE(MonitorForm->ComPortD1->Connected());
    }
}

// "Поиск СОМ-портов" keeps the port in use chosen while it is there, so
// Enter does not pick another; a port that went away gives the first one.
TEST_F(PortChange, RescanKeepsThePortInUseChosen) {
    LinkPort(QStringLiteral("COM2"), QStringLiteral("/dev/null"));
    LinkPort(QStringLiteral("COM7"), QStringLiteral("/dev/null"));
    LinkPort(QStringLiteral("COM10"), QStringLiteral("/dev/null"));
    const struct {
        const char* inUse;
        const char* chosen;
    } cases[] = {{"COM7", "COM 7"}, {"COM10", "COM 10"}, {"COM33", "COM 2"}, {"", "COM 2"}};
    for (const auto& c : cases) {
        ExchangeState.PortName[0] = QString::fromUtf8(c.inUse);
        CaseComForm->ComPortComboBox->setCurrentIndex(0);
        CaseComForm->ReNewButtonClick();
        EXPECT_EQ(CaseComForm->ComPortComboBox->currentText(), QString::fromUtf8(c.chosen))
            << c.inUse;
    }
}

// The dialog scans as it opens: a port unplugged since the last scan is not
// offered, one plugged in is. Its tries label says beside it how often the
// exchange settings repeat a request, so the two counts are not confused.
TEST_F(PortChange, TheDialogOffersThePortsThereWhenItOpens) {
    LinkPort(QStringLiteral("COM2"), QStringLiteral("/dev/null"));
    LinkPort(QStringLiteral("COM7"), QStringLiteral("/dev/null"));
    CaseComForm->ReNewButtonClick();
    ASSERT_EQ(CaseComForm->ComPortComboBox->count(), 2);
    ASSERT_TRUE(QFile::remove(platform::PortsFolder() + QStringLiteral("/COM7")));
    LinkPort(QStringLiteral("COM4"), QStringLiteral("/dev/null"));
    ExchangeState.NumOfRepeat = 5;
    QStringList offered;
    QString tip;
    user->onDialog = [&](QDialog*) {
        for (int i = 0; i < CaseComForm->ComPortComboBox->count(); ++i)
            offered << CaseComForm->ComPortComboBox->itemText(i);
        tip = CaseComForm->CountShowLabel->toolTip();
        CaseComForm->fExtraClose = true;
        return 0;
    };
    Relcon4->funChangeComPort(0);
    CaseComForm->fExtraClose = false;
    EXPECT_EQ(offered, (QStringList{QStringLiteral("COM 2"), QStringLiteral("COM 4")}));
    EXPECT_EQ(tip, QStringLiteral("Осталось попыток выбора порта. Попыток запроса к устройству "
                                  "(параметры обмена): 5"));
}
