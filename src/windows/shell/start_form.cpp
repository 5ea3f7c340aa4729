#include "shell/start_form.h"

#include "shell/app_windows.h"
#include "shell/relcon4_window.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>

QPixmap SplashPicture(const QSize& size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(0x8B, 0x10, 0x10));
    sky.setColorAt(1, QColor(0x2A, 0x06, 0x06));
    p.fillRect(pixmap.rect(), sky);
    // A relay contact: two terminals and a lever, the program's emblem.
    p.setPen(QPen(QColor(0xFF, 0xD0, 0x60), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(60, 200, 120, 200);
    p.drawLine(120, 200, 190, 150);
    p.drawLine(200, 200, 260, 200);
    p.setBrush(QColor(0xFF, 0xD0, 0x60));
    p.drawEllipse(QPoint(120, 200), 8, 8);
    p.drawEllipse(QPoint(200, 200), 8, 8);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"), 40, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(290, 90, size.width() - 300, 80), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Relcon4"));
    QFont sub(QStringLiteral("DejaVu Sans"), 14);
    p.setFont(sub);
    p.drawText(QRect(290, 170, size.width() - 300, 80), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Сервисная программа для блоков\nRO-4D, RI1-R и стенда ZI2-Z3"));
    return pixmap;
}

TStartForm::TStartForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("StartForm"));
    setWindowTitle(QStringLiteral("Запуск программы"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(662, 332);
    setModal(false);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 662, 332);
    Image1->setPixmap(SplashPicture(QSize(662, 332)));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont digit = Label1->font();
    digit.setPixelSize(35);
    Label1->setFont(digit);
    Label1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    Label1->setGeometry(662 - 70, 332 - 55, 55, 45);
    Label1->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TStartForm::Timer1Timer);

    bNumSec = 30;
    fIsWork = false;
    prShowForm();
}

void TStartForm::prShowForm() {
    fIsWork = true;
    Label1->setText(QString::number(bNumSec / 10));
    Label1->show();
    restartTimer(10);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void TStartForm::restartTimer(int intervalMs) {
    Timer1->stop();
    Timer1->setInterval(intervalMs);
    Timer1->start();
}

void TStartForm::Timer1Timer() {
    constexpr int kTickMs = 40;
    if (fIsWork) {
        countdown_.start();
        nextTickMs_ = kTickMs;
        restartTimer(kTickMs);
        fIsWork = false;
        return;
    }
    if (bNumSec > 0)
        --bNumSec;
    if (bNumSec % 10 == 0)
        Label1->setText(QString::number(bNumSec / 10));
    if (bNumSec > 0) {
        nextTickMs_ += kTickMs;
        restartTimer(static_cast<int>(std::max<qint64>(0, nextTickMs_ - countdown_.elapsed())));
        return;
    }
    Timer1->stop();
    if (Relcon4)
        Relcon4->prActivateMasterForm(Timer1);
    hide();
}
