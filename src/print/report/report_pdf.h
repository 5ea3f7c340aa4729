// A protocol laid out for paper: one HTML document in DejaVu Sans, set on
// A4 by Qt's own pagination, printed on any paged device (a printer of the
// print dialog, or PDF). Qt Gui only, so the command line can write PDF
// without the windows.
#pragma once

#include "report/report.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;

// The document of a protocol (HTML with its fonts set).
std::unique_ptr<QTextDocument> ReportDocument(const TReport& report);
// Sets device to A4 with the protocol's margins, then prints the protocol on it.
void PrintReport(const TReport& report, QPagedPaintDevice& device);
// The protocol as PDF (A4, fonts embedded, text selectable).
QByteArray ReportPdfBytes(const TReport& report);
// Writes the PDF whole (the old file stays as it was on failure); problem
// names the cause.
bool WriteReportPdf(const TReport& report, const QString& path, QString* problem);
