// The main window: five device pages, the shell buttons of the first page,
// and the fields every device page shares.
#pragma once

#include "engine/transaction.h"

#include <QMargins>
#include <QSize>
#include <QWidget>
#include <cstdint>

class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QTimer;
class TWhereBar;

class TRelcon4 : public QWidget {
    Q_OBJECT
public:
    explicit TRelcon4(QWidget* parent = nullptr);
    ~TRelcon4() override;

    // Runs once, when the splash countdown ends; enables the window.
    void prActivateMasterForm(QObject* sender);
    // Brings this window to the front, also from minimised.
    void RestoreMainWindow();
    // Sizes the window for a screen whose free area (less panels) is `available`,
    // with the window manager's frame around it: the pages' own size when it
    // fits, else as much as fits, the pages scrolling inside; and places it
    // with its frame on that area. The technician may resize it down to 640x480.
    void FitToScreen(const QRect& available, const QMargins& frame);
    bool IsActivated() const { return activated_; }

    // A device operation runs; every command handler returns at once while set.
    bool fBlockPressKey = false;
    bool fReWrite = false;
    // The program itself is changing mode-editor controls.
    bool fNotSetCheckBoxs = false;
    std::uint16_t wFlagWork_M1 = 0;
    std::uint16_t wFlagWork_M2 = 0;
    std::uint16_t wTempV1a = 0, wTempV2a = 0, wTempV3a = 0, wTempV4a = 0, wTempV5a = 0;
    std::uint16_t wTempS3a = 0, wTempS4a = 0, wTempS5a = 0, wTempS6a = 0;
    std::uint16_t wTempV1b = 0, wTempV2b = 0, wTempV3b = 0, wTempV4b = 0, wTempV5b = 0;
    std::uint16_t wTempS3b = 0, wTempS4b = 0, wTempS5b = 0, wTempS6b = 0;
    QString sInitDate = QStringLiteral("00.00.00");
    double rVoltOpora = 5.5;
    // RO-4D board generation from its version text (0x21 for 2.1); 0 until a read.
    std::uint8_t bVers = 0;

    // Holds the pages; scrolls them on a screen too small for the whole window.
    QScrollArea* PagesArea = nullptr;
    QTabWidget* PageControl1 = nullptr;
    // Under the pages: port, unit, session and file of the page shown.
    TWhereBar* WhereBar = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* LogButton = nullptr;
    // The same log opens from the RI1-R and the bench pages.
    QPushButton* LogButtonRi1r = nullptr;
    QPushButton* LogButtonBench = nullptr;
    QPushButton* ParamComButton = nullptr;
    QLabel* sLabel4 = nullptr;
    // The port watchdog; armed by every transaction.
    QTimer* CrashComTimer = nullptr;

    // One request/response on the channel, the call every device page makes.
    bool funSendReceive1(std::uint8_t bNumChannel, const TReplyCheck& check = {});

    // The port of a channel (windows/port/port_commands.cpp): stores a chosen name
    // and opens it; the port change loop (true when a port was chosen and
    // opened); opening before and closing after each command; the port button.
    void prSetComPort(std::uint8_t channel, QString name);
    bool funChangeComPort(std::uint8_t channel);
    void prOpenCloseCOM(std::uint8_t bNumChannel, bool fOpen);
    // What the device commands call around their exchange: channel 0 opened
    // or closed by prOpenCloseCOM. With no port chosen yet, the user is told
    // to choose one first and the port button is marked.
    void prOpenCloseCommandPort(bool fOpen);
    // Marks the port button and tells the user to choose a port first.
    void prAskToChoosePort();
    void Button1Click();
    // The port button shows a port (display form) and, as its tooltip, what
    // stands behind it; a port change by the dialog or the watchdog calls it.
    void prShowPortOnButton(const QString& shownName);
    // The port watchdog's run (windows/port/port_watchdog.cpp).
    void CrashComTimerTimer(QObject* sender);

    void LogButtonClick();
    QPushButton* addPageLogButton(const char* row, const QString& name);
    void ParamComButtonClick();
    void sLabel4Click();

signals:
    // The main window was closed: the program ends.
    void closed();
    // Activation has finished; the window is enabled.
    void activated();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void fitToOwnScreen();
    bool activated_ = false;
    // The window manager's frame when the window was last fitted to its screen.
    QMargins fittedFrame_;
    // Asks before edits no unit or file holds are lost; false: stay open.
    bool mayCloseWithEdits();
    // The pages' own size at the desktop font.
    QSize ownSize_;
};

// The port button's caption for a port name: "COM3" shows as "COM 3", no
// name as kNoPortCaption.
QString PortButtonCaption(const QString& portName);
inline const QString kNoPortCaption = QStringLiteral("COM-порт не выбран");
// The plain message of a command started before any port was chosen.
extern const QString kChoosePortFirst;
