// A PDF read back as a reader would copy it out, through poppler's pdftotext.
#pragma once

#include <QString>

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
