// The splash window: a picture and a countdown 3, 2, 1, 0 while the main
// window waits disabled; at 0 it hands over to the main window's activation.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <cstdint>

class QLabel;
class QTimer;

class TStartForm : public QDialog {
    Q_OBJECT
public:
    explicit TStartForm(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QTimer* Timer1 = nullptr;
    std::uint8_t bNumSec = 30;
    bool fIsWork = false;

    void prShowForm();
    void Timer1Timer();

private:
    void restartTimer(int intervalMs);

    // The countdown's ticks keep to a schedule counted from its first tick,
    // so a late tick shortens the next wait instead of delaying all the rest.
    QElapsedTimer countdown_;
    qint64 nextTickMs_ = 0;
};

// The splash picture, drawn here so the program ships no third party's art.
QPixmap SplashPicture(const QSize& size);
