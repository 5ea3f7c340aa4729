#include "devices/compare/compare_form.h"

#include "shell/user_options.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TCompareForm::TCompareForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CompareForm"));
    setWindowTitle(QStringLiteral("Сравнение"));
    setModal(false);
    resize(900, 480);
    auto* layout = new QVBoxLayout(this);
    VerdictLabel = new QLabel(this);
    VerdictLabel->setObjectName(QStringLiteral("VerdictLabel"));
    VerdictLabel->setWordWrap(true);
    QFont bold = VerdictLabel->font();
    bold.setBold(true);
    VerdictLabel->setFont(bold);
    DifferencesTable = new QTableWidget(0, 3, this);
    DifferencesTable->setObjectName(QStringLiteral("DifferencesTable"));
    DifferencesTable->setAccessibleName(QStringLiteral("Различия"));
    DifferencesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DifferencesTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    DifferencesTable->setWordWrap(true);
    DifferencesTable->verticalHeader()->hide();
    DifferencesTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    DifferencesTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    DifferencesTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    NotesLabel = new QLabel(this);
    NotesLabel->setObjectName(QStringLiteral("NotesLabel"));
    NotesLabel->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close =
        buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(VerdictLabel);
    layout->addWidget(DifferencesTable, 1);
    layout->addWidget(NotesLabel);
    layout->addWidget(buttons);
}

void TCompareForm::ShowResult(const QString& title, const TCompareResult& result) {
    setWindowTitle(title);
    VerdictLabel->setText(result.verdict());
    DifferencesTable->setHorizontalHeaderLabels(
        {QStringLiteral("Параметр"), result.leftName, result.rightName});
    DifferencesTable->setRowCount(static_cast<int>(result.differences.size()));
    for (int row = 0; row < result.differences.size(); ++row) {
        const TDifference& d = result.differences[row];
        int column = 0;
        for (const QString& text : {d.place, d.left, d.right})
            DifferencesTable->setItem(row, column++, new QTableWidgetItem(text));
    }
    DifferencesTable->setVisible(!result.differences.isEmpty());
    NotesLabel->setText(result.notes.join(QLatin1Char('\n')));
    show();
    // Row heights follow the column widths, which are known once the window is laid out.
    DifferencesTable->resizeRowsToContents();
    raise();
    activateWindow();
}

TCompareForm* CompareFormOf(QWidget* mainWindow) {
    if (!mainWindow)
        return nullptr;
    auto* form = mainWindow->findChild<TCompareForm*>(QStringLiteral("CompareForm"),
                                                      Qt::FindDirectChildrenOnly);
    if (!form)
        form = new TCompareForm(mainWindow);
    return form;
}

void InsertRowAfter(QWidget* page, const QString& rowName, QLayout* row) {
    auto* layout = qobject_cast<QBoxLayout*>(page->layout());
    if (!layout)
        return;
    int at = layout->count();
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout* item = layout->itemAt(i)->layout(); item && item->objectName() == rowName)
            at = i + 1;
    layout->insertLayout(at, row);
}

TCompareRow MakeCompareRow(QWidget* page, const QString& prefix, const QString& optionKey) {
    TCompareRow row;
    row.compareFile = new QPushButton(QStringLiteral("Сравнить с файлом…"), page);
    row.compareFile->setObjectName(prefix + QStringLiteral("CompareFileButton"));
    row.verifyWrite = new QCheckBox(QStringLiteral("Проверять запись чтением"), page);
    row.verifyWrite->setObjectName(prefix + QStringLiteral("VerifyWriteCheckBox"));
    row.verifyWrite->setChecked(UserOption(optionKey, false));
    QObject::connect(row.verifyWrite, &QCheckBox::toggled, page,
                     [optionKey](bool on) { SetUserOption(optionKey, on); });
    row.layout = new QHBoxLayout;
    row.layout->setObjectName(prefix + QStringLiteral("CompareRow"));
    row.layout->addWidget(row.compareFile);
    row.layout->addWidget(row.verifyWrite);
    row.layout->addStretch(1);
    return row;
}
