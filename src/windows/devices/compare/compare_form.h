// The difference window: the verdict, one row per difference (the place on
// the page, the unit's value, the other side's value) and the notes on what
// is compared as the unit keeps it. Not modal, so the pages stay at hand.
#pragma once

#include "devices/compare/compare_result.h"

#include <QDialog>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QLayout;
class QTableWidget;

class TCompareForm : public QDialog {
    Q_OBJECT
public:
    explicit TCompareForm(QWidget* parent = nullptr);

    // Shows the result (replacing the last one) and brings the window up.
    void ShowResult(const QString& title, const TCompareResult& result);

    QLabel* VerdictLabel = nullptr;
    QTableWidget* DifferencesTable = nullptr;
    QLabel* NotesLabel = nullptr;
};

// The row a device page gets for its compares: "Сравнить с файлом…" and the
// check box "Проверять запись чтением", whose state is remembered for the
// user under optionKey (off until the user ticks it). The object names take
// the page's prefix ("" on the RO-4D page, "Qv1" on the RI1-R page).
struct TCompareRow {
    QPushButton* compareFile = nullptr;
    QCheckBox* verifyWrite = nullptr;
    QHBoxLayout* layout = nullptr;
};
TCompareRow MakeCompareRow(QWidget* page, const QString& prefix, const QString& optionKey);

// Puts a row of a page's layout right under the row named rowName (at the
// end when there is none): the compare rows go under the command they check.
void InsertRowAfter(QWidget* page, const QString& rowName, QLayout* row);

// The window of a main window, created on first use.
TCompareForm* CompareFormOf(QWidget* mainWindow);
