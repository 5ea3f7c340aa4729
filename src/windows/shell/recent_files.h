// The files a user chose last for each kind of file (a page's own filter), so
// every file dialog can offer them again; kept per user beside the last folder.
#pragma once

#include <QString>
#include <QStringList>

inline constexpr int kRecentFilesKept = 8;

// The kind a dialog's filter stands for: its first "*.ext" pattern.
QString RecentFilesKind(const QString& filter);
// Newest first, at most kRecentFilesKept, only files that are still there.
QStringList RecentFiles(const QString& filter);
// Puts a chosen file first; an empty name (a cancelled dialog) changes nothing.
void RememberRecentFile(const QString& filter, const QString& chosenFile);
