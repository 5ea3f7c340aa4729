// The port status window "Поиск СОМ-портов": one line telling the user that
// the program is busy with the port, shown without blocking while it works.
#pragma once

#include "port/port_rules.h"

#include <QDialog>
#include <cstdint>

class QPlainTextEdit;

class TStatusCOMForm : public QDialog {
    Q_OBJECT
public:
    explicit TStatusCOMForm(QWidget* parent = nullptr);

    // Shows the window, centred on the screen, with message 1 (connecting) or
    // 2 (problems while connecting); other numbers keep the text it has.
    void prShowStatus(std::uint8_t bNumStatus);

    QPlainTextEdit* SearchCOMMemo = nullptr;
};
