#pragma once

#include <QDialog>

class TStatErrForm : public QDialog {
    Q_OBJECT
public:
    explicit TStatErrForm(QWidget* parent = nullptr);
};
