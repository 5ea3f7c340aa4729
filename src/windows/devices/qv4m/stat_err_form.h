// "Текущие статусы и ошибки": the unit's error and status bits as check
// boxes that only display (their groups are disabled).
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

namespace Ui {
class TStatErrForm;
}

class TStatErrForm : public QDialog {
    Q_OBJECT
public:
    explicit TStatErrForm(QWidget* parent = nullptr);
    ~TStatErrForm() override;

    // Ticks the box of every shown bit that is set; the others are unticked.
    void prSetCB(std::uint16_t wErr1, std::uint16_t wErr2, std::uint8_t bVoltErr);
    void prClearCB();
    // Shows the window without blocking the main window, or leaves it up.
    void ShowNonModal();

private:
    std::unique_ptr<Ui::TStatErrForm> ui;
};
