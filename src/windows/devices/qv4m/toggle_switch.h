// A two-state switch (Off/On) drawn as a slider; checked means On.
#pragma once

#include <QCheckBox>

class TToggleSwitch : public QCheckBox {
    Q_OBJECT
public:
    explicit TToggleSwitch(QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    void setOn(bool on) { setChecked(on); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
