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

// The 43 lines "        name = 0xHHHH;" with CR LF: the 20 mode words, then
// the named parameter words.
QByteArray RegExportText(const TParamRegs& params, const TModeRegs& mode);

// Name of the export, created in the current folder.
QString RegExportFileName();
