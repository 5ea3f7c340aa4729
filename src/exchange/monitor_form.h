#pragma once

#include <QWidget>

class TMonitorForm : public QWidget {
    Q_OBJECT
public:
    explicit TMonitorForm(QWidget* parent = nullptr);
};
