// A captioned group of radio buttons chosen by item index, like a classic
// radio group. The items are the group's own radio buttons, in their order.
#pragma once

#include <QGroupBox>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    // -1 when no item is chosen.
    int itemIndex() const;
    void setItemIndex(int index);
    int count() const;
    QRadioButton* item(int index) const;

protected:
    bool event(QEvent* e) override;

signals:
    // The chosen item changed, by the user or by the program.
    void itemIndexChanged(int index);

private:
    // Items are gathered on first use: the form adds them after construction.
    QButtonGroup* group() const;
    mutable QButtonGroup* group_ = nullptr;
};
