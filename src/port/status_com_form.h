#pragma once

#include <QDialog>

class TStatusCOMForm : public QDialog {
    Q_OBJECT
public:
    explicit TStatusCOMForm(QWidget* parent = nullptr);
};
