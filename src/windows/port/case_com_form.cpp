#include "port/case_com_form.h"

#include "exchange/exchange_state.h"
#include "platform/clock.h"
#include "platform/port_identity.h"
#include "port/port_rules.h"
#include "port/status_com_form.h"
#include "shell/app_windows.h"
#include "ui_case_com_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

QStringList ComPortList;

namespace {
// The port map is read after a short pause, so a device just plugged in has
// time to appear.
constexpr int kScanPauseMs = 100;
} // namespace

TCaseComForm::TCaseComForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TCaseComForm>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(QSize(241, 171).expandedTo(minimumSizeHint()));
    GroupBox2 = ui->GroupBox2;
    CountShowLabel = ui->CountShowLabel;
    ComPortComboBox = ui->ComPortComboBox;
    ReNewButton = ui->ReNewButton;
    Button1 = ui->Button1;
    PortInfoLabel = ui->PortInfoLabel;
    connect(ComPortComboBox, &QComboBox::currentIndexChanged, this,
            &TCaseComForm::ShowSelectedPort);
    connect(ReNewButton, &QPushButton::clicked, this, &TCaseComForm::ReNewButtonClick);
    connect(Button1, &QPushButton::clicked, this, &TCaseComForm::Button1Click);
    FormCreate();
}

TCaseComForm::~TCaseComForm() {
    FormDestroy();
}

void TCaseComForm::FormCreate() {
    iNumCounterPorts = 0;
    ComPortList.clear();
}

void TCaseComForm::FormDestroy() {
    ComPortList.clear();
}

void TCaseComForm::rsEnumerateComPorts() {
    ComPortList.clear();
    portDetails_.clear();
    iNumCounterPorts = 0;
    for (const platform::DescribedPort& port : platform::DescribePorts()) {
        if (port.entry.comName.isEmpty() || !platform::DevicePresent(port.entry))
            continue;
        ComPortList.append(PortDisplayName(port.entry.comName));
        portDetails_.append(port.details);
        ++iNumCounterPorts;
    }
}

QString TCaseComForm::prPortTitle(const QString& shownName) const {
    const qsizetype i = ComPortList.indexOf(shownName);
    return PortTitle(shownName, i < 0 ? QString() : portDetails_.value(i));
}

void TCaseComForm::ShowSelectedPort() {
    const QString shown = ComPortComboBox->currentText();
    PortInfoLabel->setText(shown.isEmpty() ? QString() : prPortTitle(shown));
}

void TCaseComForm::prScanComPort() {
    platform::PumpThenSleep(kScanPauseMs);
    rsEnumerateComPorts();
    ComPortComboBox->clear();
    ComPortComboBox->addItems(ComPortList);
    for (int i = 0; i < ComPortList.size(); ++i)
        ComPortComboBox->setItemData(i, prPortTitle(ComPortList.at(i)), Qt::ToolTipRole);
    // The port in use stays chosen while it is there, so Enter keeps it.
    const qsizetype inUse = ComPortList.indexOf(PortDisplayName(ExchangeState.PortName[0]));
    ComPortComboBox->setCurrentIndex(ComPortList.isEmpty() ? -1 : std::max<qsizetype>(inUse, 0));
    ShowSelectedPort();
    if (StatusCOMForm)
        StatusCOMForm->hide();
}

void TCaseComForm::prCheckNameComPort(QString& sCom) {
    if (sCom.size() < 4)
        return;
    QStringList shown;
    for (int i = 0; i < ComPortComboBox->count(); ++i)
        shown << ComPortComboBox->itemText(i);
    if (!PortIsListed(sCom, shown, iNumCounterPorts))
        sCom.clear();
}

void TCaseComForm::prShowNumEffort(std::uint8_t bCount) {
    CountShowLabel->setText(TriesLeftText(bCount));
    CountShowLabel->setToolTip(TriesToolTip(ExchangeState.NumOfRepeat));
}

void TCaseComForm::ReNewButtonClick() {
    prScanComPort();
}

void TCaseComForm::Button1Click() {
    accept();
}
