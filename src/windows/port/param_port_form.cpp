#include "port/param_port_form.h"

#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "port/param_port_rules.h"
#include "port/settings_file.h"
#include "ui_param_port_form.h"

#include <QButtonGroup>
#include <QScreen>
#include <QShowEvent>

TParamPortTarget ParamPortTarget;

namespace {

void Call(const std::function<void(bool)>& action, bool on) {
    if (action)
        action(on);
}

// A radio group's items as ids 0.. of an exclusive button group.
QButtonGroup* ItemGroup(QObject* owner, std::initializer_list<QAbstractButton*> items) {
    auto* group = new QButtonGroup(owner);
    int id = 0;
    for (QAbstractButton* item : items)
        group->addButton(item, id++);
    return group;
}

void SelectItem(QButtonGroup* group, int item) {
    if (QAbstractButton* button = group->button(item)) {
        button->setChecked(true);
        return;
    }
    // No item: an exclusive group cannot uncheck its last button by itself.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

TParamPortForm::TParamPortForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TParamPortForm>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The designed client area; a system font wider than the one it was laid out
    // for gets the room its texts need.
    setFixedSize(QSize(299, 368).expandedTo(minimumSizeHint()));
    pauseItems_ =
        ItemGroup(this, {ui->PreSendPauseItem0, ui->PreSendPauseItem1, ui->PreSendPauseItem2,
                         ui->PreSendPauseItem3, ui->PreSendPauseItem4});
    attemptItems_ =
        ItemGroup(this, {ui->NumOfRepeatItem0, ui->NumOfRepeatItem1, ui->NumOfRepeatItem2,
                         ui->NumOfRepeatItem3, ui->NumOfRepeatItem4, ui->NumOfRepeatItem5,
                         ui->NumOfRepeatItem6});
    connect(pauseItems_, &QButtonGroup::idClicked, this,
            &TParamPortForm::PreSendPauseRadioGroupClick);
    connect(ui->FiksCheckBox, &QCheckBox::toggled, this, &TParamPortForm::FiksCheckBoxClick);
    connect(ui->ExitButton, &QPushButton::clicked, this, &TParamPortForm::ExitButtonClick);
    FormCreate();
}

TParamPortForm::~TParamPortForm() = default;

void TParamPortForm::FormCreate() {
    ui->GroupBox1->setTitle(
        QStringLiteral("Тайм-аут, (%1..%2) мс").arg(kMinTimeOut).arg(kMaxTimeOut));
    ui->StopComboBox->setCurrentIndex(0);
    ui->StopComboBox->setEnabled(false);
}

void TParamPortForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only when the program shows it, not when the window system restores it,
    // so a trip to another window never undoes what the user typed.
    if (event->spontaneous())
        return;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormActivate();
}

void TParamPortForm::FormActivate() {
    ui->TimeOutEdit->setText(QString::number(TimeOut));

    const TItemChoice pause = PausePresetFor(PreSendPause);
    PreSendPause = pause.value;
    SetPreSendPauseItemIndex(pause.item);
    ui->ManualPauseEdit->setText(QString::number(ManualPauseShown(PreSendPause)));
    ui->ManualPauseEdit->setEnabled(pause.item == kManualPauseItem);

    const TItemChoice attempts = AttemptsItemFor(ExchangeState.NumOfRepeat);
    ExchangeState.NumOfRepeat = attempts.value;
    SetNumOfRepeatItemIndex(attempts.item);
}

void TParamPortForm::PreSendPauseRadioGroupClick() {
    const int item = PreSendPauseItemIndex();
    ui->ManualPauseEdit->setText(QString::number(PauseOfItem(item)));
    ui->ManualPauseEdit->setEnabled(item == kManualPauseItem);
}

void TParamPortForm::FiksCheckBoxClick() {
    const bool byHand = ui->FiksCheckBox->isChecked();
    ui->DTRComboBox->setEnabled(byHand);
    ui->RTSComboBox->setEnabled(byHand);
}

void TParamPortForm::ExitButtonClick() {
    TimeOut = AcceptedTimeOut(ui->TimeOutEdit->text());
    ui->TimeOutEdit->setText(QString::number(TimeOut));

    PreSendPause = AcceptedPause(PreSendPauseItemIndex(), ui->ManualPauseEdit->text());
    ui->ManualPauseEdit->setText(QString::number(PreSendPause));

    ExchangeState.NumOfRepeat = AcceptedAttempts(NumOfRepeatItemIndex());

    prSetManualValue();
    SaveSettings();
    if (ExchangeState.PortOpen[0] && ParamPortTarget.SetTimeouts)
        ParamPortTarget.SetTimeouts(TimeOut, PreSendPause);
    accept();
}

void TParamPortForm::prSetManualValue() {
    FiksDtrRts = ui->FiksCheckBox->isChecked();
    if (!FiksDtrRts)
        return;
    if (ParamPortTarget.DisableRtsControl)
        ParamPortTarget.DisableRtsControl();
    // Every item but the first means on: "RTS don't set" drives RTS too.
    DtrOn = ui->DTRComboBox->currentIndex() > 0;
    Call(ParamPortTarget.SetDTR, DtrOn);
    RtsOn = ui->RTSComboBox->currentIndex() > 0;
    Call(ParamPortTarget.SetRTS, RtsOn);
}

void TParamPortForm::ShowLineSettings() {
    ui->DTRComboBox->setCurrentIndex(DtrOn ? 1 : 0);
    ui->RTSComboBox->setCurrentIndex(RtsOn ? 1 : 0);
    ui->FiksCheckBox->setChecked(FiksDtrRts);
    FiksCheckBoxClick();
    prSetManualValue();
}

int TParamPortForm::PreSendPauseItemIndex() const {
    return pauseItems_->checkedId();
}
void TParamPortForm::SetPreSendPauseItemIndex(int item) {
    SelectItem(pauseItems_, item);
}
int TParamPortForm::NumOfRepeatItemIndex() const {
    return attemptItems_->checkedId();
}
void TParamPortForm::SetNumOfRepeatItemIndex(int item) {
    SelectItem(attemptItems_, item);
}
