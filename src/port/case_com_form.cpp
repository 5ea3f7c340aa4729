#include "port/case_com_form.h"

TCaseComForm::TCaseComForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CaseComForm"));
    setWindowTitle(QStringLiteral("Выбор СОМ-порта"));
    setFixedSize(241, 133);
}
