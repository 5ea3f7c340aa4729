// Where an installed copy keeps its files. An installed program lives in
// <prefix>/bin with its documents in <prefix>/share/doc/relcon4; both are
// found relative to the executable, so a package unpacked under any root
// (or run from /usr/local) finds its own README and keeps its settings in
// the per-user folder rather than beside the program.
#pragma once

#include <QString>

// "<exeDir>/../share/doc/relcon4" when it holds README.md, else empty.
// exeDir may carry a trailing '/'.
QString InstalledDocDir(const QString& exeDir);

// True when exeDir is the bin folder of an installed copy.
bool IsInstalledCopy(const QString& exeDir);
