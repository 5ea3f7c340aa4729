// The page "COM и команды VI-4D": read, write, save to flash, restart and
// read errors, plus the ADC read-out of the times page. The commands are the
// core's RO-4D services (ro4d_service.h); the page shows what they bring.
#pragma once

#include "devices/qv4m/ro4d_compare.h"
#include "devices/qv4m/ro4d_protocol.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class TQv4mCommandsPage;
}

class QLabel;
class TQv4mPages;
class TRelcon4;

class TQv4mCommandsPage : public QWidget {
    Q_OBJECT
public:
    TQv4mCommandsPage(TRelcon4* owner, TQv4mPages* pages, QWidget* parent = nullptr);
    ~TQv4mCommandsPage() override;

    void RdDataButtonClick();
    void WrDataButtonClick();
    void SaveToFlashButtonClick();
    void RestartButtonClick();
    void RdErrButtonClick();
    void Button18Click();
    // The hidden register export.
    void Button2Click();

    // Command 6 into the statuses window; true on success.
    bool funReadErrors();
    // Command 7 for an ADC channel; the value on success.
    bool funReadAdcChannel(std::uint8_t channel, std::uint16_t& value);

    QLabel* StatusLabel1() const;

    // The read's exchanges (version, then the seven pages) in a port opening
    // of their own, into unit only: nothing on the pages changes.
    bool ReadUnitImage(TRo4dUnitImage& unit);
    // A command of this page whose work gives the result text itself.
    void RunCommand(const QString& progress, const std::function<QString()>& work);
    // Runs after "Записать данные" succeeded, still as part of the command.
    std::function<void()> AfterWrite;

private:
    // The frame every handler shares: the busy guard, the progress text, the
    // work, the result text.
    void runCommand(const QString& progress, const std::function<bool()>& work);
    bool readAll();
    void applyVersion(const QString& versionText);

    std::unique_ptr<Ui::TQv4mCommandsPage> ui;
    TRelcon4* owner_;
    TQv4mPages* pages_;
};

// Builds the page into the window's TabSheet1 around the shell's port
// buttons, and wires the ADC button and the file buttons of the other pages.
TQv4mCommandsPage* InstallQv4mCommands(TRelcon4* window);
TQv4mCommandsPage* Qv4mCommandsOf(const TRelcon4* window);
