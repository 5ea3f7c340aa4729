// The window "Архив": the object of the job and a note for the records that
// follow, the filters, the records newest first, the chosen record as text,
// and what can be done with it: compare two records or a record with its
// page in the difference window, load it into its page, save it as a file,
// make its protocol.
// Not modal, so the pages stay at hand.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class TArchiveModel;
class TRelcon4;
struct TArchiveRecord;

class TArchiveForm : public QDialog {
    Q_OBJECT
public:
    explicit TArchiveForm(TRelcon4* window);

    // Reads the archive again with the filters as they are, and shows itself.
    void ShowArchive();
    // Applies the filters; the table starts again from the newest record.
    void Refilter();

    QLineEdit* ObjectEdit = nullptr;
    QLineEdit* NoteEdit = nullptr;
    QComboBox* ObjectFilter = nullptr;
    QComboBox* UnitFilter = nullptr;
    QCheckBox* DatesCheckBox = nullptr;
    QDateEdit* FromDate = nullptr;
    QDateEdit* ToDate = nullptr;
    QLineEdit* TextFilter = nullptr;
    QTableView* RecordsTable = nullptr;
    QLabel* CountLabel = nullptr;
    QPlainTextEdit* RecordText = nullptr;
    QPushButton* CompareButton = nullptr;
    QPushButton* ComparePageButton = nullptr;
    QPushButton* LoadButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* ReportButton = nullptr;
    QCheckBox* BeforeWriteCheckBox = nullptr;
    QLabel* StatusLabel = nullptr;
    TArchiveModel* Model = nullptr;

    void CompareButtonClick();
    void ComparePageButtonClick();
    void LoadButtonClick();
    void SaveButtonClick();
    // The chosen record's protocol.
    void ReportButtonClick();

private:
    void build();
    void fillObjects();
    void showChosen();
    // The chosen records, with their configuration, newest first.
    QList<TArchiveRecord> chosen() const;
    // The one record chosen; false (and says so) when not exactly one is.
    bool oneChosen(TArchiveRecord& record) const;

    TRelcon4* window_;
};

// The window of a main window, created on first use.
TArchiveForm* ArchiveFormOf(TRelcon4* window);
// The "Архив" button in the status bar under every page, and its key (F12),
// which opens it from every page.
void InstallArchiveButton(TRelcon4* window);
