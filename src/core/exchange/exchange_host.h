// What the core asks of the layer above it while it works a port: the port
// watchdog, the port status window and messages to the user. The windows
// answer with their timer, windows and message boxes; the command line with
// lines on standard error. Without a host nothing is shown. (The log is the
// core's own model, exchange/log_model.h.)
#pragma once

#include <QString>
#include <cstdint>

class TCustomComPortD;

class TExchangeHost {
public:
    virtual ~TExchangeHost() = default;

    // Arms the port watchdog to run once after intervalMs.
    virtual void armPortWatchdog(int intervalMs) { (void)intervalMs; }
    // The port status window: 1 while a port opens, 2 when opening is in trouble.
    virtual void showPortStatus(std::uint8_t message) { (void)message; }
    virtual void hidePortStatus() {}

    virtual void plainMessage(const QString& text) { (void)text; }
    // A device command began before any port was chosen.
    virtual void noPortChosen() {}
    // One of the port's numbered errors ("Ошибка #59"), OK button, exclamation icon.
    virtual void portMessageBox(const QString& text, const QString& caption) {
        (void)text;
        (void)caption;
    }
    // rs_m.ini has been read into the exchange settings.
    virtual void settingsLoaded() {}
    // A port opened for a command while the exchange settings fix DTR and
    // RTS: here they take the stored values.
    virtual void applyFixedLines(TCustomComPortD& port);
};

// The host in force; a silent one until a layer installs its own.
TExchangeHost& exchangeHost();
// Installs a host (nullptr: the silent one); returns the previous one.
TExchangeHost* setExchangeHost(TExchangeHost* host);
