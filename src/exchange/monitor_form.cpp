#include "exchange/monitor_form.h"

TMonitorForm::TMonitorForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MonitorForm"));
    setWindowTitle(QStringLiteral("Лог событий"));
    setFixedSize(1042, 217);
}
