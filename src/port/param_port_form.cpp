#include "port/param_port_form.h"

TParamPortForm::TParamPortForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ParamPortForm"));
    setWindowTitle(QStringLiteral("Параметры обмена по СОМ-порту"));
    setFixedSize(299, 368);
}
