#include "devices/qv4m/wrap_check_box.h"

#include <QFontMetrics>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
}

TWrapCheckBox::TWrapCheckBox(QWidget* parent) : QCheckBox(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int TWrapCheckBox::indicatorWidth() const {
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
           style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
}

QRect TWrapCheckBox::textRect(int width) const {
    const QRect room(indicatorWidth(), 0, std::max(1, width - indicatorWidth()), 10000);
    return fontMetrics().boundingRect(room, kTextFlags, text());
}

QSize TWrapCheckBox::sizeHint() const {
    // One line when there is room for it.
    const QSize line = fontMetrics().size(Qt::TextSingleLine, text());
    return {indicatorWidth() + line.width() + 2,
            std::max(QCheckBox::sizeHint().height(), line.height() + 2)};
}

QSize TWrapCheckBox::minimumSizeHint() const {
    return {indicatorWidth() + fontMetrics().averageCharWidth() * 20,
            QCheckBox::sizeHint().height()};
}

int TWrapCheckBox::heightForWidth(int width) const {
    return std::max(QCheckBox::sizeHint().height(), textRect(width).height() + 2);
}

void TWrapCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    // The indicator alone, at the top left; the caption is drawn wrapped beside it.
    opt.text.clear();
    const int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    const int lineHeight = fontMetrics().height();
    opt.rect =
        QRect(0, std::max(0, (lineHeight - indicatorHeight) / 2) + 1,
              style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this), indicatorHeight);
    p.drawPrimitive(QStyle::PE_IndicatorCheckBox, opt);
    const QRect textArea(indicatorWidth(), 1, width() - indicatorWidth(), height() - 1);
    p.drawItemText(textArea, kTextFlags, palette(), isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textRect(width()).adjusted(-1, 0, 1, 1);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
