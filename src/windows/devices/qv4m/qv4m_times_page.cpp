#include "devices/qv4m/qv4m_times_page.h"

#include "devices/qv4m/ro4d_page_captions.h"
#include "ui_qv4m_times_page.h"

TQv4mTimesPage::TQv4mTimesPage(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TQv4mTimesPage>()) {
    ui->setupUi(this);
    ApplyRo4dCaptions(this);
    prSetBoardLayout(false);
}

TQv4mTimesPage::~TQv4mTimesPage() = default;

void TQv4mTimesPage::prSetBoardLayout(bool board2x) {
    ui->GroupBox7->setVisible(board2x);
    ui->AdcGroupBox->setVisible(board2x);
    ui->VoltLowTestMotorEdit->setVisible(!board2x);
    ui->Label19->setVisible(!board2x);
}
