// The page "Времена, опции, напряжения VI-4D": times, options, line control
// and voltage thresholds, with the parts that only 2.x boards have.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TQv4mTimesPage;
}

class TQv4mTimesPage : public QWidget {
    Q_OBJECT
public:
    explicit TQv4mTimesPage(QWidget* parent = nullptr);
    ~TQv4mTimesPage() override;

    // 2.x boards show the M1/M2 test line and the ADC read-out instead of the
    // single lower test limit.
    void prSetBoardLayout(bool board2x);

private:
    std::unique_ptr<Ui::TQv4mTimesPage> ui;
};
