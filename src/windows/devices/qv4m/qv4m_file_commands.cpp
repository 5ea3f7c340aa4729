#include "devices/qv4m/qv4m_file_commands.h"

#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/qv4m_mode_page.h"
#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/qv4m_times_page.h"
#include "platform/user_folders.h"
#include "platform/whole_file.h"
#include "shell/app_windows.h"
#include "shell/box_message.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

namespace {

const QString kFilter = QStringLiteral("QV4 binary file (*.qvf)");
const QString kSuffix = QStringLiteral("qvf");
const QString kDoneText = QStringLiteral("Успешно");
const QString kWriteFailed = QStringLiteral("Запись не прошла");
const QString kLoadFailed = QStringLiteral("Загрузка не прошла");

// The dialogs add the default extension to a name typed without one (an
// existing file picked for loading is taken as it is).
QString withSuffix(const QString& name) {
    if (name.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + QLatin1Char('.') + kSuffix;
}

bool existingReadableFile(const QString& name) {
    QFile file(name);
    return QFileInfo(name).isFile() && file.open(QIODevice::ReadOnly);
}

// The reason of a refusal as a line of its own.
QString asLine(const QString& reason) {
    return reason.isEmpty() ? reason : reason.front().toUpper() + reason.mid(1);
}

// "Успешно", and on a second line the file it was, so the technician can find it.
QString doneWithPath(const QString& fileName) {
    return kDoneText + QLatin1Char('\n') +
           QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

// The RO-4D file, shown under each of its three pages.
void noteFile(TRelcon4& window, const QString& fileName) {
    if (window.WhereBar)
        window.WhereBar->noteFile({window.TabSheet1, window.TabSheet3, window.TabSheet6},
                                  QFileInfo(fileName).absoluteFilePath());
}

} // namespace

void InstallQv4mFileCommands(TRelcon4* window, TQv4mPages* pages) {
    auto* save = pages->ModePage->findChild<QPushButton*>(QStringLiteral("Button3"));
    auto* load = pages->ModePage->findChild<QPushButton*>(QStringLiteral("Button4"));
    QObject::connect(save, &QPushButton::clicked, pages, [pages] { Qv4mButton3Click(*pages); });
    QObject::connect(load, &QPushButton::clicked, pages,
                     [window, pages] { Qv4mButton4Click(*window, *pages); });
}

void Qv4mButton3Click(TQv4mPages& pages) {
    const QString name =
        withSuffix(interaction().saveFileName(pages.ModePage, QString(), QString(), kFilter));
    if (!name.isEmpty())
        prSaveRegsFile(pages, name);
}

void prSaveRegsFile(TQv4mPages& pages, const QString& fileName) {
    if (fileName.isEmpty())
        return;
    if (existingReadableFile(fileName) && BoxMessage &&
        BoxMessage->MessageBoxR(nullptr, QStringLiteral("Такой файл уже есть. Перезаписать?"),
                                QStringLiteral("Внимание"), MB_YESNO_ICONQUESTION) != IDYES)
        return;
    pages.prPageToRegs(fileName, true, false);
}

void prSelectLoadFile(QWidget* parent, QString& fileName) {
    fileName = interaction().openFileName(parent, QString(), QString(), kFilter);
    if (!QFileInfo::exists(fileName))
        fileName = withSuffix(fileName);
}

void Qv4mButton4Click(TRelcon4& window, TQv4mPages& pages) {
    QString name;
    prSelectLoadFile(pages.ModePage, name);
    if (name.isEmpty())
        return;
    QByteArray data;
    qint64 size = 0;
    QString reason;
    if (!ReadConfigBytes(name, data, size, reason)) {
        ShowPlainMessage(kLoadFailed);
        return;
    }
    // A short file would leave part of the pages as they were, and a longer
    // one is not this format: either is refused whole, the pages untouched.
    TRo4dImage image;
    if (!ParseConfigImage(data, image, reason, size)) {
        ShowPlainMessage(kLoadFailed + QLatin1Char('\n') + asLine(reason));
        return;
    }
    Qv4mLoadImage(window, pages, image);
    noteFile(window, name);
    ShowPlainMessage(doneWithPath(name));
}

void Qv4mLoadImage(TRelcon4& window, TQv4mPages& pages, const TRo4dImage& image) {
    mParamRegs = image.params;
    mModeRegs = image.mode;
    // The last extra word is never loaded.
    std::copy_n(image.extra.begin(), kLoadedExtraWords, mExtraWords.begin());
    {
        TEditorQuiet quiet(window);
        if (auto* blockFree = pages.TimesPage->findChild<QAbstractButton*>(
                QStringLiteral("BlockFreeSignalCheckBox")))
            blockFree->setChecked(mExtraWords[0] & 1u);
        pages.prShowParamRegs(mParamRegs);
        std::array<std::uint16_t, kModeFieldCount> words{};
        std::copy_n(mModeRegs.begin(), kModeFieldCount, words.begin());
        SetModeWords(window, TModeWords::fromArray(words));
        pages.ModePage->prRestoreModeEditor(mParamRegs[wFlag_Mode_1]);
    }
    pages.NoteBaseline();
}

void WriteConfigFileOf(const QString& fileName) {
    const bool ok =
        platform::WriteWholeFile(fileName, ConfigFileBytes(mParamRegs, mModeRegs, mExtraWords));
    if (ok && Relcon4) {
        noteFile(*Relcon4, fileName);
        if (TQv4mPages* pages = Qv4mPagesOf(Relcon4))
            pages->NoteBaseline();
    }
    ShowPlainMessage(ok ? doneWithPath(fileName) : kWriteFailed);
}

void WriteRegExport() {
    const QString path = QDir(platform::CurrentFileFolder()).filePath(RegExportFileName());
    const bool ok = platform::WriteWholeFile(path, RegExportText(mParamRegs, mModeRegs));
    ShowPlainMessage(ok ? doneWithPath(path) : kWriteFailed);
}
