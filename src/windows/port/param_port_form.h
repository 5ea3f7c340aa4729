// The modal dialog "Параметры обмена по СОМ-порту": reply time-out, pause
// before a request, attempt count and the DTR/RTS lines set by hand.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QButtonGroup;
namespace Ui {
class TParamPortForm;
}

// What the dialog hands to the serial port of channel 0. The core's port
// component (port/channel_port.h) is attached here; an entry left empty does
// nothing.
struct TParamPortTarget {
    // FlowControl.ControlRTS := rtsDisable, so RTS follows SetRTS alone.
    std::function<void()> DisableRtsControl;
    std::function<void(bool on)> SetDTR;
    std::function<void(bool on)> SetRTS;
    // Timeouts.ReadTimeOut and Timeouts.WaitTimePrevSending of an open port.
    std::function<void(int readTimeOut, int waitTimePrevSending)> SetTimeouts;
};
extern TParamPortTarget ParamPortTarget;

class TParamPortForm : public QDialog {
    Q_OBJECT
public:
    explicit TParamPortForm(QWidget* parent = nullptr);
    ~TParamPortForm() override;

    // Fills the controls from the settings, bringing the pause and the attempt
    // count to the dialog's items; runs each time the dialog comes up.
    void FormActivate();
    void PreSendPauseRadioGroupClick();
    void FiksCheckBoxClick();
    // "Принять": clamps and stores the values, saves them and closes.
    void ExitButtonClick();
    // Takes the DTR/RTS choice into the settings and, when set by hand, onto the port.
    void prSetManualValue();
    // Loading's part: the DTR/RTS controls show the loaded settings, then
    // prSetManualValue.
    void ShowLineSettings();

    // Selected items of the two radio groups; -1 when none.
    int PreSendPauseItemIndex() const;
    void SetPreSendPauseItemIndex(int item);
    int NumOfRepeatItemIndex() const;
    void SetNumOfRepeatItemIndex(int item);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    std::unique_ptr<Ui::TParamPortForm> ui;
    QButtonGroup* pauseItems_ = nullptr;
    QButtonGroup* attemptItems_ = nullptr;
};
