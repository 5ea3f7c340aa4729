#include "devices/qv4m/stat_err_form.h"

#include "ui_stat_err_form.h"

#include <QCheckBox>
#include <QGroupBox>

namespace {

enum TErrValue { vErr1, vErr2, vVoltErr };

struct TErrBox {
    const char* name;
    TErrValue value;
    int bit;
};

// Bits the table leaves out are not shown.
constexpr TErrBox kBoxes[] = {
    {"CheckBox19", vErr1, 0},    {"CheckBox1", vErr1, 1},     {"CheckBox2", vErr1, 2},
    {"CheckBox3", vErr1, 3},     {"CheckBox4", vErr1, 4},     {"CheckBox20", vErr1, 5},
    {"CheckBox5", vErr1, 6},     {"CheckBox6", vErr1, 7},     {"CheckBox7", vErr1, 8},
    {"CheckBox8", vErr1, 9},     {"CheckBox9", vErr1, 10},    {"CheckBox10", vErr1, 11},
    {"CheckBox11", vErr1, 12},   {"CheckBox12", vErr1, 13},   {"CheckBox21", vErr2, 2},
    {"CheckBox22", vErr2, 4},    {"CheckBox23", vErr2, 5},    {"CheckBox24", vErr2, 6},
    {"CheckBox25", vErr2, 7},    {"CheckBox13", vVoltErr, 0}, {"CheckBox14", vVoltErr, 1},
    {"CheckBox15", vVoltErr, 2}, {"CheckBox16", vVoltErr, 3}, {"CheckBox17", vVoltErr, 4},
    {"CheckBox18", vVoltErr, 5},
};

// The groups stay disabled, so the user cannot change a bit; their boxes
// take the enabled colours, so a set bit reads as plainly as on any form.
void readableWhileDisabled(QWidget* group) {
    QPalette palette = group->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text,
                                           QPalette::ButtonText, QPalette::Base, QPalette::Button})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    group->setPalette(palette);
}

} // namespace

TStatErrForm::TStatErrForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TStatErrForm>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("StatErrForm"));
    setModal(false);
    for (QGroupBox* group : findChildren<QGroupBox*>())
        if (group->testAttribute(Qt::WA_ForceDisabled))
            readableWhileDisabled(group);
    connect(ui->Button2, &QPushButton::clicked, this, &QDialog::close);
}

TStatErrForm::~TStatErrForm() = default;

void TStatErrForm::prSetCB(std::uint16_t wErr1, std::uint16_t wErr2, std::uint8_t bVoltErr) {
    const unsigned values[] = {wErr1, wErr2, bVoltErr};
    for (const TErrBox& b : kBoxes)
        findChild<QCheckBox*>(QLatin1String(b.name))->setChecked((values[b.value] >> b.bit) & 1u);
}

void TStatErrForm::prClearCB() {
    prSetCB(0, 0, 0);
}

void TStatErrForm::ShowNonModal() {
    if (!isVisible() && parentWidget()) {
        // Centred on the main window when it comes up; left where it is if open.
        const QRect owner = parentWidget()->window()->geometry();
        move(owner.center() - rect().center());
    }
    show();
    raise();
}
