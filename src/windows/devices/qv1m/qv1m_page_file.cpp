// QV1M.ini buttons of the RI1-R page; they need neither a session nor the port.
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/qv1m_page.h"
#include "platform/user_folders.h"
#include "platform/whole_file.h"
#include "shell/edit_marks.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"
#include "ui_qv1m_page.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kFileProblem = QStringLiteral("Статус: проблема с файлом");

// The current folder's file; when that folder is the program's own and takes
// no files, the documents folder stands in, though a load still finds a file
// the current folder holds.
QString filePath(bool toWrite) {
    const QString here = QDir::current().filePath(QLatin1String(kQv1mFileName));
    if (!toWrite && QFileInfo::exists(here))
        return here;
    return QDir(platform::CurrentFileFolder()).filePath(QLatin1String(kQv1mFileName));
}

const QString kSetFilter = QStringLiteral("Настройки RI1-R (*.ini);;Все файлы (*)");

} // namespace

void TQv1mPage::showFilePath(const QString& path) {
    ui->FilePathEdit->setText(QDir::toNativeSeparators(path.isEmpty() ? filePath(true) : path));
    ui->FilePathEdit->setCursorPosition(0);
}

void TQv1mPage::Button14Click() {
    const QString path = filePath(true);
    showFilePath(path);
    // Said when the file is not where the user would look first.
    if (QFileInfo(path).absolutePath() == QDir::current().absolutePath())
        saveSetTo(path);
    else
        saveSetTo(path, QStringLiteral("Статус: успешно; текущая папка закрыта для записи, "
                                       "файл сохранён в %1")
                            .arg(QDir::toNativeSeparators(path)));
}

void TQv1mPage::saveSetTo(const QString& path, const QString& doneStatus) {
    runCommand(QStringLiteral("Статус: сохранение в файл..."), [this, path, doneStatus] {
        prQV1StoreMode(iNumMode);
        prQV1GetTimeErr();
        prQV1GetVoltFlags();
        // The old file stays whole unless the new one is completely written.
        QString problem;
        if (!platform::WriteWholeFile(path, Qv1mFileBytes(*this), &problem)) {
            setStatus(kFileProblem + QStringLiteral(": не удалось записать %1 (%2)")
                                         .arg(QFileInfo(path).fileName(), problem));
            return;
        }
        noteFile(path);
        NoteBaseline();
        setStatus(doneStatus);
    });
}

void TQv1mPage::SaveSetAsClick() {
    const QString path = interaction().saveFileName(this, QStringLiteral("Сохранить все настройки"),
                                                    QLatin1String(kQv1mFileName), kSetFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) &&
        interaction().messageBox(QStringLiteral("Такой файл уже есть. Перезаписать?"),
                                 QStringLiteral("Внимание"), MB_YESNO_ICONQUESTION) != IDYES)
        return;
    saveSetTo(path);
}

void TQv1mPage::LoadSetFromClick() {
    const QString path = interaction().openFileName(this, QStringLiteral("Загрузить все настройки"),
                                                    QString(), kSetFilter);
    if (!path.isEmpty())
        loadSetFrom(path);
}

void TQv1mPage::showWholeSet() {
    prQV1ShowTimeErr();
    prQV1ShowVoltFlags();
    for (int c = 1; c <= kQv1ChannelCount; ++c)
        prQV1ChannelRules(c);
    // Last, so that the mode's channel restrictions hold.
    prQV1ShowMode(iNumMode);
}

void TQv1mPage::NoteBaseline() {
    // The records as they are: a read or a load has just shown them, a save
    // or a whole-set write has just taken the page into them.
    baseline_ = *this;
    baselineMode_ = iNumMode;
    if (Marks)
        Marks->setBaseline();
}

void TQv1mPage::RevertToBaseline() {
    static_cast<TQv1mSet&>(*this) = baseline_;
    iNumMode = baselineMode_;
    ui->ComboBox2->setCurrentIndex(iNumMode);
    showWholeSet();
}

void TQv1mPage::noteFile(const QString& path) {
    if (TWhereBar* bar = WhereBarOf(this))
        bar->noteFile({owner_->TabSheet2}, QFileInfo(path).absoluteFilePath());
}

void TQv1mPage::Button15Click() {
    const QString path = filePath(false);
    showFilePath(path);
    loadSetFrom(path);
}

void TQv1mPage::loadSetFrom(const QString& path) {
    runCommand(QStringLiteral("Статус: загрузка из файла..."), [this, path] {
        const TQv1mFileRead read = Qv1mReadFile(path);
        if (read.tooShort) {
            setStatus(QStringLiteral("Статус: в файле не хватает данных"));
            return;
        }
        if (!read.ok) {
            setStatus(read.reason.isEmpty() ? kFileProblem
                                            : kFileProblem + QStringLiteral(": ") + read.reason);
            return;
        }
        LoadSet(read.set);
        noteFile(path);
        setStatus(QStringLiteral("Статус: успешно"));
    });
}

void TQv1mPage::LoadSet(const TQv1mSet& set) {
    static_cast<TQv1mSet&>(*this) = set;
    showWholeSet();
    NoteBaseline();
}
