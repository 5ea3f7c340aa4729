#include "shell/file_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QSortFilterProxyModel>

namespace {

// Hides the files the caller's check refuses; folders stay, so the user can walk.
class ListedFiles : public QSortFilterProxyModel {
public:
    ListedFiles(FileCheck check, QObject* parent)
        : QSortFilterProxyModel(parent), check_(std::move(check)) {}

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files)
            return true;
        const QModelIndex index = files->index(row, 0, parent);
        return files->isDir(index) || check_(files->filePath(index));
    }

private:
    FileCheck check_;
};

void addRecentRow(QFileDialog& dialog, const QStringList& recent) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid || recent.isEmpty())
        return;
    auto* label = new QLabel(QString::fromUtf8(kRecentFilesCaption), &dialog);
    auto* list = new QComboBox(&dialog);
    list->setObjectName(QStringLiteral("RecentFilesComboBox"));
    label->setBuddy(list);
    list->addItem(QString());
    for (const QString& file : recent)
        list->addItem(QDir::toNativeSeparators(file), file);
    QObject::connect(list, &QComboBox::activated, &dialog, [&dialog, list](int index) {
        const QString file = list->itemData(index).toString();
        if (file.isEmpty())
            return;
        dialog.setDirectory(QFileInfo(file).absolutePath());
        dialog.selectFile(file);
    });
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(list, row, 1, 1, grid->columnCount() - 1);
}

} // namespace

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, const FileDialogRequest& request) {
    auto dialog =
        std::make_unique<QFileDialog>(parent, request.caption, request.start, request.filter);
    // Qt's own dialog everywhere: the platform's has no room for the recent files.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    if (request.save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        // The program asks about overwriting itself, with its own question.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    if (request.listed)
        dialog->setProxyModel(new ListedFiles(request.listed, dialog.get()));
    addRecentRow(*dialog, request.recent);
    return dialog;
}
