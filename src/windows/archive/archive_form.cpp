#include "archive/archive_form.h"

#include "archive/archive_compare.h"
#include "archive/archive_model.h"
#include "archive/archive_pages.h"
#include "archive/archive_recorder.h"
#include "archive/archive_recording.h"
#include "archive/archive_text.h"
#include "devices/compare/compare_form.h"
#include "platform/whole_file.h"
#include "report/report_pages.h"
#include "shell/form_parts.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"
#include "shell/user_options.h"
#include "shell/where_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kAny = QStringLiteral("все");

QString sideName(const TArchiveRecord& r) {
    return QStringLiteral("Запись %1").arg(r.time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
}

} // namespace

TArchiveForm::TArchiveForm(TRelcon4* window) : QDialog(window), window_(window) {
    setObjectName(QStringLiteral("ArchiveForm"));
    setWindowTitle(QStringLiteral("Архив"));
    setModal(false);
    build();
}

void TArchiveForm::build() {
    auto* top = new QFormLayout;
    ObjectEdit = Named(new QLineEdit(ArchiveObject(), this), "ObjectEdit");
    ObjectEdit->setPlaceholderText(QStringLiteral("здание, участок"));
    NoteEdit = Named(new QLineEdit(ArchiveNote(), this), "NoteEdit");
    top->addRow(BuddyLabel(QStringLiteral("&Объект работ:"), ObjectEdit, this), ObjectEdit);
    top->addRow(BuddyLabel(QStringLiteral("При&мечание к записям:"), NoteEdit, this), NoteEdit);
    connect(ObjectEdit, &QLineEdit::editingFinished, this,
            [this] { SetArchiveObject(ObjectEdit->text()); });
    connect(NoteEdit, &QLineEdit::editingFinished, this,
            [this] { SetArchiveNote(NoteEdit->text()); });

    auto* filters = new QHBoxLayout;
    ObjectFilter = Named(new QComboBox(this), "ObjectFilter");
    UnitFilter = Named(new QComboBox(this), "UnitFilter");
    UnitFilter->addItem(kAny, QString());
    for (const QString& unit : {kArchiveRo4d, kArchiveRi1r, kArchiveZi2z3})
        UnitFilter->addItem(ArchiveUnitCaption(unit), unit);
    DatesCheckBox = Named(new QCheckBox(QStringLiteral("&Даты"), this), "DatesCheckBox");
    FromDate = Named(new QDateEdit(QDate::currentDate().addMonths(-1), this), "FromDate");
    ToDate = Named(new QDateEdit(QDate::currentDate(), this), "ToDate");
    for (QDateEdit* d : {FromDate, ToDate}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }
    TextFilter = Named(new QLineEdit(this), "TextFilter");
    TextFilter->setClearButtonEnabled(true);
    filters->addWidget(BuddyLabel(QStringLiteral("О&бъект:"), ObjectFilter, this));
    filters->addWidget(ObjectFilter, 1);
    filters->addWidget(BuddyLabel(QStringLiteral("Бл&ок:"), UnitFilter, this));
    filters->addWidget(UnitFilter);
    filters->addWidget(DatesCheckBox);
    filters->addWidget(BuddyLabel(QStringLiteral("с"), FromDate, this));
    filters->addWidget(FromDate);
    filters->addWidget(BuddyLabel(QStringLiteral("по"), ToDate, this));
    filters->addWidget(ToDate);
    filters->addWidget(BuddyLabel(QStringLiteral("&Текст:"), TextFilter, this));
    filters->addWidget(TextFilter, 1);
    for (QComboBox* c : {ObjectFilter, UnitFilter})
        connect(c, &QComboBox::activated, this, &TArchiveForm::Refilter);
    connect(DatesCheckBox, &QCheckBox::toggled, this, &TArchiveForm::Refilter);
    connect(FromDate, &QDateEdit::dateChanged, this, &TArchiveForm::Refilter);
    connect(ToDate, &QDateEdit::dateChanged, this, &TArchiveForm::Refilter);
    connect(TextFilter, &QLineEdit::textChanged, this, &TArchiveForm::Refilter);

    Model = new TArchiveModel(this);
    RecordsTable = Named(new QTableView(this), "RecordsTable");
    RecordsTable->setAccessibleName(QStringLiteral("Записи архива"));
    RecordsTable->setModel(Model);
    RecordsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    RecordsTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    RecordsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RecordsTable->verticalHeader()->hide();
    RecordsTable->horizontalHeader()->setStretchLastSection(true);
    connect(RecordsTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TArchiveForm::showChosen);
    RecordText = Named(new QPlainTextEdit(this), "RecordText");
    RecordText->setReadOnly(true);
    RecordText->setAccessibleName(QStringLiteral("Выбранная запись"));
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(RecordsTable);
    split->addWidget(RecordText);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* buttons = new QHBoxLayout;
    CompareButton =
        Named(new QPushButton(QStringLiteral("Сравнить две записи"), this), "ArchiveCompareButton");
    ComparePageButton = Named(new QPushButton(QStringLiteral("Сравнить со страницей"), this),
                              "ArchiveComparePageButton");
    LoadButton =
        Named(new QPushButton(QStringLiteral("Загрузить в страницу"), this), "ArchiveLoadButton");
    SaveButton =
        Named(new QPushButton(QStringLiteral("Сохранить в файл…"), this), "ArchiveSaveButton");
    ReportButton = Named(new QPushButton(QStringLiteral("Протокол…"), this), "ArchiveReportButton");
    for (QPushButton* b : {CompareButton, ComparePageButton, LoadButton, SaveButton, ReportButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    CountLabel = Named(new QLabel(this), "CountLabel");
    buttons->addWidget(CountLabel);
    connect(CompareButton, &QPushButton::clicked, this, &TArchiveForm::CompareButtonClick);
    connect(ComparePageButton, &QPushButton::clicked, this, &TArchiveForm::ComparePageButtonClick);
    connect(LoadButton, &QPushButton::clicked, this, &TArchiveForm::LoadButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TArchiveForm::SaveButtonClick);
    connect(ReportButton, &QPushButton::clicked, this, &TArchiveForm::ReportButtonClick);

    BeforeWriteCheckBox =
        Named(new QCheckBox(
                  QStringLiteral("Сохранять конфигурацию устройства в архив перед записью"), this),
              "BeforeWriteCheckBox");
    BeforeWriteCheckBox->setToolTip(
        QStringLiteral("Перед каждой записью блок сначала считывается, и его конфигурация "
                       "сохраняется в архив. Запись при обычных параметрах обмена дольше "
                       "примерно на 1,2 с (RO-4D), 1,4 с (RI1-R), 0,15 с (ZI2-Z3)"));
    BeforeWriteCheckBox->setChecked(UserOption(kArchiveBeforeWrite, false));
    connect(BeforeWriteCheckBox, &QCheckBox::toggled, this,
            [](bool on) { SetUserOption(kArchiveBeforeWrite, on); });
    StatusLabel = Named(new QLabel(this), "ArchiveStatusLabel");
    StatusLabel->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    layout->addWidget(BeforeWriteCheckBox);
    layout->addWidget(StatusLabel);
    resize(980, 640);
}

void TArchiveForm::fillObjects() {
    const QString current = ObjectFilter->currentData().toString();
    ObjectFilter->clear();
    ObjectFilter->addItem(kAny, QString());
    for (const QString& object : ProgramArchive().Objects())
        ObjectFilter->addItem(object, object);
    const int at = ObjectFilter->findData(current);
    ObjectFilter->setCurrentIndex(at < 0 ? 0 : at);
}

void TArchiveForm::ShowArchive() {
    ObjectEdit->setText(ArchiveObject());
    fillObjects();
    Refilter();
    show();
    raise();
    activateWindow();
}

void TArchiveForm::Refilter() {
    TArchiveFilter f;
    f.object = ObjectFilter->currentData().toString();
    f.unit = UnitFilter->currentData().toString();
    if (DatesCheckBox->isChecked()) {
        f.from = FromDate->date();
        f.to = ToDate->date();
    }
    f.text = TextFilter->text().trimmed();
    TArchiveStore& store = ProgramArchive();
    Model->Show(&store, f);
    CountLabel->setText(QStringLiteral("Записей: %1").arg(Model->Total()));
    if (!store.IsOpen())
        StatusLabel->setText(QStringLiteral("Архив %1 не открыт").arg(store.Path()));
    RecordText->clear();
}

QList<TArchiveRecord> TArchiveForm::chosen() const {
    QList<TArchiveRecord> out;
    QModelIndexList rows = RecordsTable->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    for (const QModelIndex& row : rows)
        if (auto found = ProgramArchive().Find(Model->RecordAt(row.row()).id))
            out << *found;
    return out;
}

void TArchiveForm::showChosen() {
    const QList<TArchiveRecord> records = chosen();
    RecordText->setPlainText(records.isEmpty() ? QString() : ArchiveRecordText(records.first()));
}

void TArchiveForm::CompareButtonClick() {
    const QList<TArchiveRecord> records = chosen();
    if (records.size() != 2) {
        StatusLabel->setText(QStringLiteral("Выберите две записи (Ctrl+щелчок)"));
        return;
    }
    // The older on the left, as the unit was before.
    const TArchiveRecord& older = records[1];
    const TArchiveRecord& newer = records[0];
    if (older.unit != newer.unit) {
        StatusLabel->setText(QStringLiteral("Записи разных блоков не сравниваются"));
        return;
    }
    TCompareResult result;
    QString reason;
    if (!CompareConfigs(older, sideName(older), newer.config, sideName(newer), result, reason)) {
        StatusLabel->setText(QStringLiteral("Сравнение невозможно: ") + reason);
        return;
    }
    CompareFormOf(window_)->ShowResult(QStringLiteral("Сравнение двух записей архива"), result);
    StatusLabel->setText(CompareStatusText(result));
}

bool TArchiveForm::oneChosen(TArchiveRecord& record) const {
    const QList<TArchiveRecord> records = chosen();
    if (records.size() != 1) {
        StatusLabel->setText(QStringLiteral("Выберите одну запись"));
        return false;
    }
    record = records[0];
    return true;
}

void TArchiveForm::ComparePageButtonClick() {
    TArchiveRecord record;
    if (!oneChosen(record))
        return;
    QByteArray page;
    QString reason;
    TCompareResult result;
    if (!PageConfig(*window_, record.unit, page, reason) ||
        !CompareConfigs(record, sideName(record), page, QStringLiteral("Страница"), result,
                        reason)) {
        StatusLabel->setText(QStringLiteral("Сравнение невозможно: ") + reason);
        return;
    }
    CompareFormOf(window_)->ShowResult(QStringLiteral("Сравнение: запись архива и страница"),
                                       result);
    StatusLabel->setText(CompareStatusText(result));
}

void TArchiveForm::LoadButtonClick() {
    TArchiveRecord record;
    // A command running on the pages keeps them as they are.
    if (window_->fBlockPressKey || !oneChosen(record))
        return;
    QString reason;
    if (!LoadIntoPage(*window_, record, reason)) {
        StatusLabel->setText(QStringLiteral("Запись не загружена: ") + reason);
        return;
    }
    if (QWidget* tab = PageTabOf(*window_, record.unit))
        window_->PageControl1->setCurrentWidget(tab);
    StatusLabel->setText(QStringLiteral("Загружено в страницу %1; запишите её в блок как обычно")
                             .arg(ArchiveUnitCaption(record.unit)));
}

void TArchiveForm::SaveButtonClick() {
    TArchiveRecord r;
    if (!oneChosen(r))
        return;
    const QString suffix = ArchiveExportSuffix(r.unit);
    const QString suggested = r.unit == kArchiveRi1r
                                  ? QStringLiteral("QV1M.ini")
                                  : QStringLiteral("%1.%2").arg(
                                        r.time.toString(QStringLiteral("yyyyMMdd-HHmmss")), suffix);
    const QString filter = r.unit == kArchiveRo4d   ? QStringLiteral("QV4 binary file (*.qvf)")
                           : r.unit == kArchiveRi1r ? QStringLiteral("QV1M.ini (*.ini)")
                                                    : QStringLiteral("Текст (*.txt)");
    const QString name =
        interaction().saveFileName(this, QStringLiteral("Сохранить запись"), suggested, filter);
    if (name.isEmpty())
        return;
    QString problem;
    StatusLabel->setText(platform::WriteWholeFile(name, r.config, &problem)
                             ? QStringLiteral("Сохранено: ") + name
                             : QStringLiteral("Не сохранено: %1: %2").arg(name, problem));
}

void TArchiveForm::ReportButtonClick() {
    TArchiveRecord record;
    if (oneChosen(record))
        OpenRecordReport(this, record);
}

TArchiveForm* ArchiveFormOf(TRelcon4* window) {
    if (!window)
        return nullptr;
    auto* form =
        window->findChild<TArchiveForm*>(QStringLiteral("ArchiveForm"), Qt::FindDirectChildrenOnly);
    return form ? form : new TArchiveForm(window);
}

void InstallArchiveButton(TRelcon4* window) {
    // In the status bar, under every page: the pages' rows have no room to spare.
    if (window->WhereBar) {
        auto* button =
            Named(new QPushButton(QStringLiteral("Архив"), window->WhereBar), "ArchiveButton");
        button->setToolTip(QStringLiteral("Архив конфигураций блоков (F12)"));
        window->WhereBar->addButton(button);
        QObject::connect(button, &QPushButton::clicked, window,
                         [window] { ArchiveFormOf(window)->ShowArchive(); });
    }
    auto* key = new QShortcut(QKeySequence(Qt::Key_F12), window);
    QObject::connect(key, &QShortcut::activated, window,
                     [window] { ArchiveFormOf(window)->ShowArchive(); });
}
