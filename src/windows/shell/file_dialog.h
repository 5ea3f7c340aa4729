// The program's own file dialog (the same on Linux and Windows): it offers the
// last files of its kind, and a caller may list only files of a given layout.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Whether a file belongs in the list; folders are always listed.
using FileCheck = std::function<bool(const QString& path)>;

struct FileDialogRequest {
    QString caption;
    // A folder, or a folder and a file name to suggest.
    QString start;
    QString filter;
    bool save = false;
    QStringList recent;
    FileCheck listed;
};

// Caption of the drop-down of recent files, the buddy of its combo box.
inline constexpr char kRecentFilesCaption[] = "Последние файлы:";

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, const FileDialogRequest& request);
