#include "port/port_watchdog.h"

#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "port/case_com_form.h"
#include "port/port_open.h"
#include "serial/com_port.h"
#include "shell/app_windows.h"
#include "shell/box_message.h"
#include "shell/relcon4_window.h"

#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace watchdog_text {
const QString kTooSlow = QStringLiteral("Слишком долгое подключение к COM-порту означает, что\r\n"
                                        "с ним серьёзные проблемы. Поскольку их не удалось за\r\n"
                                        "три попытки решить, то дальнейшая работа программы не\r\n"
                                        "возможна и она сейчас будет закрыта. Извините...");
const QString kReplug = QStringLiteral("Возможно, подключение к СОМ-порту произошло с\r\n"
                                       "ошибками. Если СОМ-порт - это USB-адаптер, то\r\n"
                                       "сейчас необходимо его вынуть из USB-порта и че-\r\n"
                                       "рез несколько секунд вставить обратно. Сделай-\r\n"
                                       "те это сейчас перед нажатием Ok.");
const QString kNotSent = QStringLiteral("Произошла нештатная ситуация - данные в СОМ-порт\r\n"
                                        "не ушли. Если СОМ-порт - это USB-адаптер, то сейчас\r\n"
                                        "необходимо его вынуть из USB-порта и через пару\r\n"
                                        "секунд вставить обратно. Возможно, вы выбрали СОМ-\r\n"
                                        "порт, прописанный в системе, но реально не сущес-\r\n"
                                        "твующий. Выберите порт ешё раз.");
const QString kPortGone =
    QStringLiteral("Внимание! СОМ-порт пропал из системы.\rПожалуйста, укажите новый СОМ-порт.");
const QString kNeedPort =
    QStringLiteral("Для работы программы требуется хотя бы один свободный СОМ-порт!");
const QString kNeedPortCaption = QStringLiteral("Ошибка #5");
const QString kClosing = QStringLiteral("Сейчас программа будет закрыта!");
} // namespace watchdog_text

namespace {

using namespace watchdog_text;

bool running = false;
// A tick came while a run was going on; it is taken up once that run is over.
bool deferred = false;
// The run's own openings made the third slow one in a row: M1 has been shown.
bool slowEnd = false;
TProgramEnd endHook;

// Recovery of one crashed channel. Returns true when the program has to end;
// clears goOn when the channels after this one are to be left alone.
bool RecoverChannel(TRelcon4& main, std::uint8_t ch, bool& goOn) {
    TExchangeState& ex = ExchangeState;
    bool end = false;
    if (ex.PortFailCount >= 3) {
        ShowPlainMessage(kTooSlow);
        if (CaseComForm)
            CaseComForm->fExtraClose = true;
        end = true;
        goOn = false;
    } else if (ex.PortFailCount > 0) {
        ex.PortCrash[ch] = false;
        ShowPlainMessage(kReplug);
        main.prSetComPort(ch, ex.PortName[ch]);
        goOn = false;
        if (WatchdogEndsAfterSlowOpening())
            return true;
    }
    ex.PortCrash[ch] = false;
    ShowPlainMessage(kNotSent);
    QString name = ex.PortName[ch];
    if (CaseComForm) {
        CaseComForm->prScanComPort();
        CaseComForm->prCheckNameComPort(name);
    }
    ex.PortName[ch] = name;
    if (!name.isEmpty()) {
        main.prSetComPort(ch, name);
        if (WatchdogEndsAfterSlowOpening()) {
            goOn = false;
            return true;
        }
    }
    if (ex.PortName[ch].isEmpty() || !ex.PortOpen[ch]) {
        ShowPlainMessage(kPortGone);
        const bool changed = main.funChangeComPort(ch);
        if (slowEnd) {
            goOn = false;
            return true;
        }
        if (!changed) {
            PortMessageBox(kNeedPort, kNeedPortCaption);
            ShowPlainMessage(kClosing);
            end = true;
            goOn = false;
        }
    }
    return end;
}

// One pass over the channel table; true when the program has to end.
bool RunOnce(TRelcon4& main) {
    bool goOn = true;
    bool end = false;
    for (int ch = 0; ch < kNumChannels && goOn; ++ch) {
        if (ExchangeState.PortCrash[ch] &&
            RecoverChannel(main, static_cast<std::uint8_t>(ch), goOn))
            end = true;
    }
    return end;
}

} // namespace

bool PortWatchdogRunning() {
    return running;
}

bool WatchdogEndsAfterSlowOpening() {
    // A run that began at three (or that has already said so) goes its own way.
    if (!running || slowEnd || ExchangeState.PortFailCount < 3 ||
        (CaseComForm && CaseComForm->fExtraClose))
        return slowEnd;
    ShowPlainMessage(kTooSlow);
    if (CaseComForm)
        CaseComForm->fExtraClose = true;
    slowEnd = true;
    return true;
}

void ResetPortWatchdog() {
    running = false;
    deferred = false;
    slowEnd = false;
}

void SetProgramEndHook(TProgramEnd hook) {
    endHook = std::move(hook);
}

void EndProgramAtOnce(int exitCode) {
    if (endHook) {
        endHook(exitCode);
        return;
    }
    // The port is let go first: a recovery may have left it open. Settings
    // and files are written when they change, so nothing is waiting to be saved.
    if (MonitorForm && MonitorForm->ComPortD1 && MonitorForm->ComPortD1->Connected())
        MonitorForm->ComPortD1->SetConnected(false);
    ExchangeState.PortOpen.fill(false);
    std::fflush(nullptr);
    // At once: the code that the run interrupted must not carry on with its
    // command, so no return to the event loop.
    std::exit(exitCode);
}

void TRelcon4::CrashComTimerTimer(QObject* /*sender*/) {
    CrashComTimer->stop();
    // A tick inside a run's own messages would work on the same channel table
    // under the run's feet; it is kept for after the run instead.
    if (running) {
        deferred = true;
        return;
    }
    running = true;
    slowEnd = false;
    const bool end = RunOnce(*this);
    running = false;
    if (end) {
        // A tick armed by the run's own openings has nothing left to do.
        deferred = false;
        CrashComTimer->stop();
        EndProgramAtOnce(0);
        return;
    }
    if (deferred) {
        deferred = false;
        // The interval the re-arming asked for.
        CrashComTimer->start();
    }
}
