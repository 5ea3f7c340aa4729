#include "devices/qv4m/stat_err_form.h"

TStatErrForm::TStatErrForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("StatErrForm"));
    setWindowTitle(QStringLiteral("Текущие статусы и ошибки"));
    setFixedSize(420, 360);
}
