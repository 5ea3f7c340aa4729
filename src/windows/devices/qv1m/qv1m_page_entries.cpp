// The RI1-R page's entry checks: ranges, marks and the block on writes.
#include "devices/entries/entry_marks.h"
#include "devices/qv1m/qv1m_checks.h"
#include "devices/qv1m/qv1m_page.h"
#include "ui_qv1m_page.h"

#include <QButtonGroup>

std::vector<TEntryFault> TQv1mPage::CheckEntries() {
    std::vector<TEntryFault> faults;
    for (int c = 1; c <= kQv1ChannelCount; ++c) {
        const TChannelControls& k = controls(c);
        const auto entries =
            Qv1TimeEntries(iNumMode, c, k.controlItems->checkedId() == 1,
                           k.workItems->checkedId() == 1, Qv1TimeValue(k.t6sec->text()));
        const std::array<QLineEdit*, 3> edits{k.ton, k.t6sec, k.toff};
        for (std::size_t row = 0; row < edits.size(); ++row)
            MarkEntry(edits[row], entries[row], &faults);
    }
    const std::array<QLineEdit*, 3> delays{ui->edTimeErrK1, ui->edTimeErrK2, ui->edTimeErrK3};
    for (int i = 0; i < 3; ++i)
        MarkEntry(delays[static_cast<std::size_t>(i)], Qv1DelayEntry(i + 1), &faults);
    MarkEntry(ui->Volt2OporaEdit, Qv1ReferenceEntry(), &faults);
    const std::array<QLineEdit*, 3> thresholds{ui->edBut_Lvl_DO, ui->edBut_Lvl_UD,
                                               ui->edBut_Lvl_SC};
    for (int i = 0; i < 3; ++i)
        MarkEntry(thresholds[static_cast<std::size_t>(i)], Qv1ThresholdEntry(i, pageReference()),
                  &faults);
    return faults;
}

void TQv1mPage::watchEntries() {
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, [this] { CheckEntries(); });
    CheckEntries();
}

bool TQv1mPage::entriesAllowWrite(const QString& failure) {
    if (EntriesAllowWrite(CheckEntries()))
        return true;
    setStatus(failure);
    return false;
}
