// Every file the program writes is replaced whole: the bytes go to a new file
// beside the old one, which is put in its place only once all of it is on
// disk. A process killed half-way, a full disk or a folder that refuses the
// write leaves the old file exactly as it was.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace platform {

// How a line ends in a text file the user opens: CR LF on Windows, where
// Notepad and the rest expect it, LF elsewhere.
#ifdef Q_OS_WIN
inline constexpr char kTextLineEnd[] = "\r\n";
#else
inline constexpr char kTextLineEnd[] = "\n";
#endif

// True when the file at path now holds exactly these bytes. On false the old
// file, if any, is untouched and nothing of the new one stays behind; problem,
// when given, gets a short Russian account of what stood in the way.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* problem = nullptr);

// A short Russian account of why writing size bytes to path failed, looking at
// the place after the failure; opened tells whether the file had been opened.
QString DescribeWriteFailure(const QString& path, qint64 size, bool opened,
                             QFileDevice::FileError error, const QString& systemText);

} // namespace platform
