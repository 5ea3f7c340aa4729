// The page "COM и команды VI-4D": read, write, save to flash, restart and
// read errors, plus the ADC read-out of the times page. Every command opens
// channel 0 for itself, runs its exchanges and closes the port again.
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
    using TPageSink =
        std::function<void(int page, const std::array<std::uint16_t, kRo4dPageWords>& words)>;
    // The frame every handler shares: the busy guard, the progress text, the
    // work, the result text.
    void runCommand(const QString& progress, const std::function<bool()>& work);
    // The port open around the work.
    bool withPort(const std::function<bool()>& work);
    // One exchange on channel 0; with checkStatus the reply must say "done".
    bool exchange(const TRo4dRequest& request, bool checkStatus = true);
    bool readAll();
    // The read's exchanges into unit; onVersion after the version, onPage
    // after each page, so a read that stops part-way has shown what came.
    bool readUnit(TRo4dUnitImage& unit, const std::function<void()>& onVersion,
                  const TPageSink& onPage);
    void applyVersion(const QString& versionText);

    std::unique_ptr<Ui::TQv4mCommandsPage> ui;
    TRelcon4* owner_;
    TQv4mPages* pages_;
};

// Builds the page into the window's TabSheet1 around the shell's port
// buttons, and wires the ADC button and the file buttons of the other pages.
TQv4mCommandsPage* InstallQv4mCommands(TRelcon4* window);
TQv4mCommandsPage* Qv4mCommandsOf(const TRelcon4* window);
