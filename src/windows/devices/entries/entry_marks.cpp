#include "devices/entries/entry_marks.h"

#include "shell/box_message.h"

#include <QLineEdit>
#include <QVariant>

namespace {

const char kFaultProperty[] = "entryFault";

void setMark(QLineEdit* edit, bool marked) {
    if (edit->property(kFaultProperty).toBool() == marked)
        return;
    edit->setProperty(kFaultProperty, marked);
    edit->setStyleSheet(marked ? QStringLiteral("QLineEdit { background-color: #ffd2d2; }")
                               : QString());
}

} // namespace

void MarkEntry(QLineEdit* edit, const TCheckedEntry& entry, std::vector<TEntryFault>* faults) {
    const std::optional<QString> fault = EntryFault(entry.rule, edit->text());
    edit->setToolTip(EntryToolTip(entry.rule, fault));
    setMark(edit, fault.has_value());
    if (fault && faults)
        faults->push_back({entry.caption, edit->text(), *fault, RangeText(entry.rule)});
}

void UnmarkEntry(QLineEdit* edit) {
    edit->setToolTip(QString());
    setMark(edit, false);
}

bool IsEntryMarked(const QLineEdit* edit) {
    return edit->property(kFaultProperty).toBool();
}

bool EntriesAllowWrite(const std::vector<TEntryFault>& faults) {
    if (faults.empty())
        return true;
    ShowPlainMessage(BlockedWriteMessage(faults));
    return false;
}
