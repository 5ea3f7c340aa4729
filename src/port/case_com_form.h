#pragma once

#include <QDialog>

class TCaseComForm : public QDialog {
    Q_OBJECT
public:
    explicit TCaseComForm(QWidget* parent = nullptr);
};
