// The main window's side of the port: choosing a port for a channel, the
// port change loop behind the port button, and opening for each command.
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "platform/clock.h"
#include "port/case_com_form.h"
#include "port/param_port_form.h"
#include "port/port_open.h"
#include "port/port_rules.h"
#include "port/port_watchdog.h"
#include "port/settings_file.h"
#include "serial/com_port.h"
#include "shell/app_windows.h"
#include "shell/box_message.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

const QString kChoosePortFirst =
    QStringLiteral("СОМ-порт не выбран. Сначала укажите его (шаг 1 на странице «COM и команды "
                   "VI-4D»): нажмите кнопку порта, она обведена красным.");

namespace {

constexpr int kCrashPollMs = 500;
constexpr int kMaxTries = 3;

// A crashed channel waits for the watchdog, which alone clears the mark. The
// watchdog is armed whenever the mark is set; should it not be, it is armed
// here, so the wait cannot last for ever. Inside a watchdog run (its own port
// change) nothing is awaited: the mark is the next run's, after this one.
void WaitForWatchdog(std::uint8_t channel, const TCaseComForm& form) {
    while (ExchangeState.PortCrash[channel] && !form.fExtraClose && !PortWatchdogRunning()) {
        if (Relcon4 && Relcon4->CrashComTimer && !Relcon4->CrashComTimer->isActive())
            ArmPortWatchdog(kSlowOpenWatchdogMs);
        platform::PumpMessages();
        platform::SleepMs(kCrashPollMs);
    }
}

// Marks the port button until a port is shown on it. A style sheet drops the
// platform's button metrics, so the button keeps the size it had unmarked:
// otherwise it shrinks round its caption.
void MarkPortButton(QPushButton& button, bool on) {
    const bool marked = !button.styleSheet().isEmpty();
    if (on && !marked) {
        button.setMinimumSize(button.sizeHint());
        button.setStyleSheet(QStringLiteral("QPushButton { border: 2px solid #D00000; }"));
    } else if (!on && marked) {
        button.setStyleSheet({});
        button.setMinimumSize(0, 0);
    }
}

void ShowTriesOver() {
    PortMessageBox(QStringLiteral("Цикл выбора СОМ-порта прекращён! Порт сменить не удалось!"),
                   QStringLiteral("Ошибка #59"));
}

} // namespace

void TRelcon4::prSetComPort(std::uint8_t channel, QString name) {
    SetChannelPort(channel, name);
}

bool TRelcon4::funChangeComPort(std::uint8_t channel) {
    if (channel >= kNumChannels || !CaseComForm)
        return false;
    TCaseComForm& form = *CaseComForm;
    int tries = 0;
    bool goOn = true;
    bool chosen = false;
    while (goOn && !form.fExtraClose && tries <= kMaxTries) {
        WaitForWatchdog(channel, form);
        // The program is being ended: no more dialogs.
        if (form.fExtraClose)
            break;
        // A port unplugged since the last scan is not offered.
        form.prScanComPort();
        form.prShowNumEffort(static_cast<std::uint8_t>(tries));
        // Accepted or closed by its close box, the dialog's selection stands.
        interaction().execDialog(&form);
        const QString shown = form.ComPortComboBox->currentText();
        if (!form.fExtraClose) {
            prSetComPort(channel, shown);
            if (ExchangeState.PortOpen[channel])
                chosen = true;
            else if (WatchdogEndsAfterSlowOpening())
                break;
        }
        if (!chosen && !form.fExtraClose) {
            ++tries;
            if (tries == kMaxTries) {
                ShowTriesOver();
                goOn = false;
            }
        }
        if (chosen && !form.fExtraClose)
            goOn = false;
    }
    if (chosen) {
        // The port chosen opened in time: a mark left by an earlier slow
        // opening (a choice before this one) no longer stands.
        ExchangeState.PortCrash[channel] = false;
        // Each command opens the port again.
        ClosePort(channel);
        SaveSettings();
        // The button names the port the commands use, whoever changed it.
        if (channel == 0)
            prShowPortOnButton(form.ComPortComboBox->currentText());
    }
    return chosen;
}

void TRelcon4::prOpenCloseCOM(std::uint8_t bNumChannel, bool fOpen) {
    if (fOpen)
        OpenForCommand(bNumChannel);
    else
        CloseAfterCommand(bNumChannel);
}

void TRelcon4::prOpenCloseCommandPort(bool fOpen) {
    OpenCloseCommandPort(fOpen);
}

void TRelcon4::prAskToChoosePort() {
    MarkPortButton(*Button1, true);
    ShowPlainMessage(kChoosePortFirst);
}

void TRelcon4::Button1Click() {
    if (funChangeComPort(0))
        prShowPortOnButton(CaseComForm->ComPortComboBox->currentText());
    else
        prShowPortOnButton(QStringLiteral("нет"));
}

void TRelcon4::prShowPortOnButton(const QString& shownName) {
    Button1->setText(shownName);
    const bool named = !ComPortName(shownName).isEmpty();
    const QString title = CaseComForm ? CaseComForm->prPortTitle(shownName) : shownName;
    Button1->setToolTip(named ? title : QStringLiteral("Выберите СОМ-порт"));
    if (named)
        MarkPortButton(*Button1, false);
    if (WhereBar)
        WhereBar->showPort(named ? title : kNoPortCaption);
}
