#include "shell/windows_host.h"

#include "exchange/exchange_host.h"
#include "port/param_port_form.h"
#include "port/status_com_form.h"
#include "shell/app_windows.h"
#include "shell/box_message.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"

#include <QTimer>

namespace {

class TWindowsHost final : public TExchangeHost {
public:
    void armPortWatchdog(int intervalMs) override {
        if (!Relcon4 || !Relcon4->CrashComTimer)
            return;
        QTimer* timer = Relcon4->CrashComTimer;
        if (timer->isActive())
            timer->stop();
        timer->setInterval(intervalMs);
        timer->start();
    }
    void showPortStatus(std::uint8_t message) override {
        if (StatusCOMForm)
            StatusCOMForm->prShowStatus(message);
    }
    void hidePortStatus() override {
        if (StatusCOMForm)
            StatusCOMForm->hide();
    }
    void plainMessage(const QString& text) override { ShowPlainMessage(text); }
    void noPortChosen() override {
        if (Relcon4)
            Relcon4->prAskToChoosePort();
    }
    void portMessageBox(const QString& text, const QString& caption) override {
        if (BoxMessage)
            BoxMessage->MessageBoxR(nullptr, text, caption, MB_OK_ICONEXCLAMATION);
        else
            interaction().messageBox(text, caption, MB_OK_ICONEXCLAMATION);
    }
    void applyFixedLines(TCustomComPortD&) override {
        if (ParamPortForm)
            ParamPortForm->prSetManualValue();
    }
    void settingsLoaded() override {
        if (ParamPortForm)
            ParamPortForm->ShowLineSettings();
    }
};

TWindowsHost windowsHost;

} // namespace

void InstallWindowsHost() {
    setExchangeHost(&windowsHost);
}
