#include "shell/edit_marks.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace {

void setItalic(QWidget* w, bool on) {
    QFont font = w->font();
    font.setItalic(on);
    w->setFont(font);
}

} // namespace

TEditMarks::TEditMarks(const QString& page, const QList<QWidget*>& roots, QObject* parent)
    : QObject(parent), page_(page), roots_(roots) {
    for (QWidget* root : roots) {
        // Only what the user does counts: a read or a load sets the same
        // controls without these signals.
        for (QLineEdit* edit : root->findChildren<QLineEdit*>())
            if (!edit->isReadOnly())
                connect(edit, &QLineEdit::textEdited, this, [this, edit] { mark(edit); });
        for (QAbstractButton* box : root->findChildren<QAbstractButton*>())
            if (box->isCheckable())
                connect(box, &QAbstractButton::clicked, this, [this, box] { mark(box); });
        for (QComboBox* combo : root->findChildren<QComboBox*>())
            connect(combo, &QComboBox::activated, this, [this] {
                changedOther_ = true;
                emit changed();
            });
    }
}

void TEditMarks::mark(QWidget* entry) {
    if (!marked_.contains(entry)) {
        marked_ << entry;
        setItalic(entry, true);
    }
    emit changed();
}

void TEditMarks::setBaseline() {
    for (const QPointer<QWidget>& w : marked_)
        if (w)
            setItalic(w, false);
    marked_.clear();
    changedOther_ = false;
    emit changed();
}

void TEditMarks::revert() {
    if (Revert)
        Revert();
    setBaseline();
}

QList<TEditMarks*> AllEditMarks(const QWidget* window) {
    return window ? window->findChildren<TEditMarks*>() : QList<TEditMarks*>();
}

TEditMarks* EditMarksOf(const QWidget* window, const QWidget* tab) {
    for (TEditMarks* marks : AllEditMarks(window))
        for (const QWidget* root : marks->roots())
            if (root == tab || (tab && tab->isAncestorOf(root)))
                return marks;
    return nullptr;
}
