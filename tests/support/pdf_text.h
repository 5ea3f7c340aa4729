// A PDF read back as a reader would copy it out, through poppler's pdftotext.
#pragma once

#include <QString>

// pdftotext is a Linux program a test built for Windows cannot start; the
// Windows run reads its protocol from outside (windows_install_test.sh).
#ifdef _WIN32
#define SKIP_WITHOUT_PDFTOTEXT() GTEST_SKIP() << "pdftotext does not run under Windows"
#else
#define SKIP_WITHOUT_PDFTOTEXT() (void)0
#endif

namespace testenv {

// The text of the PDF as pdftotext -layout gives it (empty when it fails).
QString PdfLayoutText(const QString& path);
// The same without any blank, so a wrapped line reads as one.
QString PdfBareText(const QString& path);
// text without any blank.
QString Bare(QString text);
// The line of the laid-out text that starts with start, trimmed; empty if none.
QString PdfLine(const QString& path, const QString& start);

} // namespace testenv
