// The RO-4D configuration file (74 little-endian words: parameter image,
// mode image, extra words) and the register export, as bytes.
#pragma once

#include "devices/qv4m/qv4m_registers.h"

#include <QByteArray>
#include <QString>

inline constexpr int kConfigFileWords = kParamRegCount + kModeRegCount + kExtraWordCount;
inline constexpr int kConfigFileBytes = 2 * kConfigFileWords;
// A load fills the extra words only up to here; the last one is never loaded.
inline constexpr int kLoadedExtraWords = kExtraWordCount - 1;

QByteArray ConfigFileBytes(const TParamRegs& params, const TModeRegs& mode,
                           const TExtraWords& extra);

// Puts the whole words of data into the images in file order and stops at
// its end: a short file changes only the words it holds, bytes past the
// 73 loadable words and an odd last byte are not read. Returns the words taken.
int LoadConfigWords(const QByteArray& data, TParamRegs& params, TModeRegs& mode,
                    TExtraWords& extra);

// A whole configuration file for a load, a compare or a write: exactly 148
// bytes. Anything else is refused whole, with the reason in Russian, naming
// fileSize when data is only the start of a longer file.
bool ParseConfigImage(const QByteArray& data, TRo4dImage& image, QString& reason,
                      qint64 fileSize = -1);
// The bytes of a configuration file on disk, one more than a whole file at
// most (so a longer file tells itself from a whole one): no regular file, an
// unreadable one and a read error are refused, with the reason in Russian.
// fileSize gets the size of the whole file.
bool ReadConfigBytes(const QString& path, QByteArray& data, qint64& fileSize, QString& reason);
// Both: the file read from disk and taken only whole.
bool ReadConfigImage(const QString& path, TRo4dImage& image, QString& reason);

// The 43 lines "        name = 0xHHHH;" with CR LF: the 20 mode words, then
// the named parameter words.
QByteArray RegExportText(const TParamRegs& params, const TModeRegs& mode);

// Name of mode word n (0..19) as the export writes it: "wFlagWork_M1" ... "wTempS6b".
const char* ModeWordName(int n);

// Name of the export, created in the current folder.
QString RegExportFileName();
