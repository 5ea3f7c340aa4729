#pragma once

#include <QDialog>

class TParamPortForm : public QDialog {
    Q_OBJECT
public:
    explicit TParamPortForm(QWidget* parent = nullptr);
};
