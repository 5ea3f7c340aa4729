#include "devices/qv4m/radio_group.h"

#include <QButtonGroup>
#include <QEvent>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {}

QButtonGroup* TRadioGroup::group() const {
    if (!group_) {
        auto* self = const_cast<TRadioGroup*>(this);
        group_ = new QButtonGroup(self);
        int id = 0;
        for (QRadioButton* b : findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
            group_->addButton(b, id++);
        connect(group_, &QButtonGroup::idToggled, self, [self](int id, bool checked) {
            if (checked)
                emit self->itemIndexChanged(id);
        });
    }
    return group_;
}

bool TRadioGroup::event(QEvent* e) {
    // Gather the items before the user can first click one.
    if (e->type() == QEvent::Polish)
        group();
    return QGroupBox::event(e);
}

int TRadioGroup::itemIndex() const {
    return group()->checkedId();
}

void TRadioGroup::setItemIndex(int index) {
    QAbstractButton* target = group()->button(index);
    if (target) {
        target->setChecked(true);
        return;
    }
    // No item: an exclusive group needs to let go before it can show none.
    if (QAbstractButton* current = group()->checkedButton()) {
        group()->setExclusive(false);
        current->setChecked(false);
        group()->setExclusive(true);
    }
}

int TRadioGroup::count() const {
    return static_cast<int>(group()->buttons().size());
}

QRadioButton* TRadioGroup::item(int index) const {
    return qobject_cast<QRadioButton*>(group()->button(index));
}
