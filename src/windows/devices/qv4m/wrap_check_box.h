// A check box whose caption wraps onto further lines when the page is too
// narrow for it; the caption text itself stays as it is.
#pragma once

#include <QCheckBox>

class TWrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TWrapCheckBox(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    // Where the caption goes for a given width, beside the indicator.
    QRect textRect(int width) const;
    int indicatorWidth() const;
};
