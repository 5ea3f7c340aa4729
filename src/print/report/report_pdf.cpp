#include "report/report_pdf.h"

#include "platform/whole_file.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

const QString kFont = QStringLiteral("DejaVu Sans");
const QString kFixedFont = QStringLiteral("DejaVu Sans Mono");

QString esc(const QString& text) {
    return text.toHtmlEscaped();
}

// One paragraph a row, "caption: value unit", so a long caption wraps
// within its own row and the text reads back in order.
QString rowsHtml(const QList<TReportRow>& rows) {
    QString html;
    for (const TReportRow& r : rows) {
        QString unit = esc(r.unit);
        if (!unit.isEmpty())
            unit.prepend(QLatin1Char(' '));
        html +=
            QStringLiteral("<p style=\"margin-top: 1px; margin-bottom: 1px;\">%1: <b>%2</b>%3</p>")
                .arg(esc(r.caption), esc(r.value), unit);
    }
    return html;
}

QString sectionHtml(const TReportSection& s) {
    QString html = QStringLiteral("<h3>%1</h3>").arg(esc(s.title));
    if (!s.rows.isEmpty())
        html += rowsHtml(s.rows);
    if (!s.fixedLines.isEmpty())
        html += QStringLiteral("<pre style=\"font-family: '%1'; font-size: 7pt;\">%2</pre>")
                    .arg(kFixedFont, esc(s.fixedLines.join(QLatin1Char('\n'))));
    return html;
}

QString reportHtml(const TReport& report) {
    QString html = QStringLiteral("<html><body><h2>%1</h2>").arg(esc(report.title));
    html += rowsHtml(report.header);
    for (const TReportSection& s : report.sections)
        html += sectionHtml(s);
    if (!report.verify.title.isEmpty())
        html += sectionHtml(report.verify);
    html += QStringLiteral("<p><br/><br/>%1</p>").arg(esc(report.signature));
    for (const TReportSection& s : report.appendix)
        html += sectionHtml(s);
    return html + QStringLiteral("</body></html>");
}

} // namespace

std::unique_ptr<QTextDocument> ReportDocument(const TReport& report) {
    auto doc = std::make_unique<QTextDocument>();
    QFont font(kFont);
    font.setPointSizeF(9);
    // No ligatures: "T_off" must read back as typed, not with an "ff" glyph.
    font.setStyleStrategy(QFont::PreferNoShaping);
    doc->setDefaultFont(font);
    doc->setDefaultStyleSheet(
        QStringLiteral("h2 { font-size: 14pt; } h3 { font-size: 11pt; margin-top: 8px; }"));
    doc->setHtml(reportHtml(report));
    doc->setMetaInformation(QTextDocument::DocumentTitle, report.title);
    return doc;
}

void PrintReport(const TReport& report, QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter));
    ReportDocument(report)->print(&device);
}

QByteArray ReportPdfBytes(const TReport& report) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(report.title);
        pdf.setCreator(QStringLiteral("Relcon4"));
        pdf.setResolution(300);
        PrintReport(report, pdf);
    }
    return bytes;
}

bool WriteReportPdf(const TReport& report, const QString& path, QString* problem) {
    return platform::WriteWholeFile(path, ReportPdfBytes(report), problem);
}
