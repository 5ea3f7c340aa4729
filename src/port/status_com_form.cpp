#include "port/status_com_form.h"

TStatusCOMForm::TStatusCOMForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("StatusCOMForm"));
    setWindowTitle(QStringLiteral("Поиск СОМ-портов"));
    setFixedSize(428, 28);
}
