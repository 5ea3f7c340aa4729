#include "devices/qv4m/toggle_switch.h"

#include <QPainter>
#include <QPainterPath>

TToggleSwitch::TToggleSwitch(QWidget* parent) : QCheckBox(parent) {
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TToggleSwitch::sizeHint() const {
    return {30, 16};
}

void TToggleSwitch::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = track.height() / 2;
    const QPalette& pal = palette();
    const bool on = isChecked();
    const QColor ink = isEnabled() ? pal.color(QPalette::WindowText)
                                   : pal.color(QPalette::Disabled, QPalette::WindowText);
    QPainterPath path;
    path.addRoundedRect(track, radius, radius);
    p.fillPath(path,
               on && isEnabled() ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    p.setPen(QPen(ink, 1));
    p.drawPath(path);

    const qreal knob = track.height() - 4;
    const qreal x = on ? track.right() - 2 - knob : track.left() + 2;
    p.setPen(Qt::NoPen);
    p.setBrush(on && isEnabled() ? pal.color(QPalette::HighlightedText) : ink);
    p.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}
