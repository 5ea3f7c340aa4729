// QV1M.ini: the whole RI1-R data set as 95 text lines, one value a line,
// CR LF endings, in the current folder.
#pragma once

#include "devices/qv1m/qv1m_data.h"

#include <QByteArray>
#include <QString>

inline constexpr char kQv1mFileName[] = "QV1M.ini";
inline constexpr int kQv1mFileLines = 95;
// Far beyond any real file: the page reads no more than this of it.
inline constexpr qint64 kQv1mFileReadLimit = 1 << 20;

// The file's bytes for a set: decimal values, the last line rVolt as
// "%1.3f" with the system's decimal separator.
QByteArray Qv1mFileBytes(const TQv1mSet& set);

struct TQv1mFileRead {
    bool ok = false;
    // The file ended before line 95.
    bool tooShort = false;
    // Why a file of full length was refused, for the status line.
    QString reason;
    // Why the file did not open, as the system says it (the page's status
    // line names no cause there; the command line and the compare do).
    QString openProblem;
    TQv1mSet set;
};

// Checks the whole set's lines before anything is taken from them: every
// value line must be a number that fits its field, and all 95 must be text.
// Lines after line 95 are ignored; the constant "0" lines are skipped unread.
TQv1mFileRead Qv1mParseFile(const QByteArray& bytes);

// Reads and parses the file at path. A path that is no regular file, or a
// read error, gives the reason; a file that cannot be opened leaves the
// reason empty (the page says only that the file is a problem).
TQv1mFileRead Qv1mReadFile(const QString& path);

// Whether a file is laid out as a whole set (a regular file of at least 95
// lines, within the read limit), so file lists can leave out other .ini files
// such as rs_m.ini. Says nothing of the values; the reading checks those.
bool Qv1mFileHasSetLayout(const QString& path);
