// The exchange log window: a view of the exchange log (log_model.h) showing
// the last 400 lines in their colours, and the log options, which it hands to
// the model. Lines are written whether the window is shown or not.
#pragma once

#include "exchange/log_state.h"

#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QTimer;
class TComPortD;
class TLogListModel;
class TLogRecorder;
namespace Ui {
class TMonitorForm;
}

class TMonitorForm : public QWidget {
    Q_OBJECT
public:
    explicit TMonitorForm(QWidget* parent = nullptr);
    ~TMonitorForm() override;

    // The log's writers, kept here for their callers; the model does the work.
    void prStatusAsStrToLog(TLogColor iColor);
    void prStatusAsCmdToLog(TLogColor iColor, bool fToHex);
    void prShowLog(bool fToHex, bool famCmd, bool fOnlyToFile);
    // Copies the ring into the list rows, the line at LogWritePos (and the
    // one after it for a command entry) being the newest.
    void prRefreshLog(bool famCmd);
    // Puts the loaded LogFontSize and LogHex into the option controls and the list.
    void SetSaveParam();

    void FormatRadioGroupClick();
    void FontRadioGroupClick();
    void TelStateEditChange();

    // The selected rows as text, in the order they were made, with times.
    QString SelectedLogText() const;
    void CopyLogClick();
    // The whole ring to a UTF-8 file the user names.
    void SaveLogButtonClick();
    void ClearLogButtonClick();
    void TimeLogCheckBoxClick();
    // Starts or stops recording to a new file in the user's data folder.
    void RecordLogCheckBoxClick();
    // The folder recordings go to.
    static QString RecordFolder();
    // The colour a list row is drawn in.
    QColor MonitorsListViewCustomDrawItem(int row) const;

    // Background reception: runs on the GUI thread when the polling thread
    // finds bytes waiting while reception is on.
    void ComPortD1RxBuf();
    // Completes a packet of which bLenReceive bytes stand in RxBuf to its
    // full bLenPacket bytes, then decodes it.
    void prSend_Receive(std::uint8_t bLenReceive, std::uint8_t bLenPacket);
    // Hands the RxLength bytes in RxBuf to the page that listens for packets.
    void prAnalyzeAnswer();

    // The page that listens between exchanges: the full length of a packet by
    // its first byte (0: no packet starts with it), and the display of the
    // packet standing in RxBuf[0 .. received). Unset: reads are only logged.
    std::function<std::size_t(std::uint8_t first)> BackgroundPacketLength;
    std::function<void(std::size_t received)> BackgroundPacket;

    // Waits TimeDelay ms while the window messages keep being processed.
    static void pDelay(std::uint32_t TimeDelay);
    // The 8-bit sum check of the first bNumByte bytes of the reply buffer.
    static bool funCheckCS(std::uint8_t bNumByte);

    // The window's components, laid out in monitor_form.ui.
    QFrame* Panel1 = nullptr;
    QFrame* MonitorPanel = nullptr;
    QListView* MonitorsListView = nullptr;
    QFrame* OptionPanel = nullptr;
    QLabel* TelState1Label = nullptr;
    QLabel* TelOffImage = nullptr;
    QLabel* TelOnImage = nullptr;
    QLabel* TelState2Label = nullptr;
    QLineEdit* TelStateEdit = nullptr;
    QCheckBox* TelStateCheckBox = nullptr;
    QGroupBox* FontRadioGroup = nullptr;
    QRadioButton* FontRadioItem12 = nullptr;
    QRadioButton* FontRadioItem8 = nullptr;
    QGroupBox* FormatRadioGroup = nullptr;
    QRadioButton* FormatRadioItemHex = nullptr;
    QRadioButton* FormatRadioItemDec = nullptr;
    QCheckBox* DebugLogCheckBox = nullptr;
    QCheckBox* CmdLogCheckBox = nullptr;
    QCheckBox* TimeLogCheckBox = nullptr;
    QCheckBox* RecordLogCheckBox = nullptr;
    QPushButton* SaveLogButton = nullptr;
    QPushButton* ClearLogButton = nullptr;
    QLabel* RecordPathLabel = nullptr;
    QAction* CopyLogAction = nullptr;
    TLogRecorder* LogRecorder = nullptr;
    // The program's one serial port; every exchange goes through it.
    TComPortD* ComPortD1 = nullptr;

    bool fStateTel = false;
    std::uint8_t bTelemByte = 0;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void FormResize();
    void prFormResize();
    void applyListFont();
    // Fills the rows with the line at ring index newest on the newest end.
    void refreshRows(int newest);
    void setUpLogFile();
    void showRecordPath();
    // A message that must not stop an exchange: shown once none runs.
    void tellWhenIdle(const QString& text);

    // Appends one timed read of at most count bytes to the packet in RxBuf.
    void appendBackgroundRead(std::uint16_t count);

    std::unique_ptr<Ui::TMonitorForm> ui_;
    // The receive handler pumps messages while it reads; it never nests.
    bool inRxBuf_ = false;
    TLogListModel* rowsModel_ = nullptr;
    QButtonGroup* fontGroup_ = nullptr;
    QButtonGroup* formatGroup_ = nullptr;
    QTimer* idleMessageTimer_ = nullptr;
    QString idleMessage_;
};

// Two 32 x 32 pictures of the telemetry indicator.
QPixmap TelemetryPicture(bool on);
