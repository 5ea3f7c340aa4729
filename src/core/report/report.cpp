#include "report/report.h"

namespace {

// Bidi embeddings, overrides, isolates and marks: a name must not reorder
// the line it stands in.
bool isBidiControl(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

bool isBlank(char32_t c) {
    return QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control ||
           QChar::category(c) == QChar::Separator_Line ||
           QChar::category(c) == QChar::Separator_Paragraph || isBidiControl(c) || c == 0xFEFF ||
           c == 0x200B;
}

} // namespace

QString ReportNameText(const QString& name, int maxLength) {
    QString out;
    bool blank = false;
    for (char32_t c : name.toUcs4()) {
        if (isBlank(c) || QChar::category(c) == QChar::Other_Surrogate) {
            blank = !out.isEmpty();
            continue;
        }
        if (blank)
            out += QLatin1Char(' ');
        blank = false;
        out += QString::fromUcs4(&c, 1);
        if (out.size() > maxLength)
            break;
    }
    if (out.size() > maxLength) {
        out.truncate(maxLength - 1);
        // Never leave half of a surrogate pair before the ellipsis.
        if (!out.isEmpty() && out.back().isHighSurrogate())
            out.chop(1);
        out += QChar(0x2026);
    }
    return out;
}

QList<TReportRow> ReportHeaderRows(const TReportHeader& header) {
    return {
        {QStringLiteral("Порт"), header.port.isEmpty() ? QStringLiteral("-") : header.port, {}},
        {QStringLiteral("Источник"), header.source, {}},
        {QStringLiteral("Дата и время"),
         header.when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
         {}},
        {QStringLiteral("Объект"), ReportNameText(header.object), {}},
        {QStringLiteral("Техник"), ReportNameText(header.technician), {}},
    };
}

TReportSection VerifySection(const QString& title, const TCompareResult& result) {
    TReportSection s{title, {}, {}};
    if (result.equal()) {
        s.rows << TReportRow{
            QStringLiteral("Результат"), QStringLiteral("устройство хранит записанное"), {}};
        return s;
    }
    s.rows << TReportRow{QStringLiteral("Результат"), result.verdict(), {}};
    for (const TDifference& d : result.differences)
        s.rows << TReportRow{d.place,
                             QStringLiteral("%1: %2; %3: %4")
                                 .arg(result.leftName, d.left, result.rightName, d.right),
                             {}};
    return s;
}

QString YesNo(bool value) {
    return value ? QStringLiteral("да") : QStringLiteral("нет");
}

QString ReportSignatureLine() {
    return QStringLiteral("Подпись техника: ____________________    Дата: ____________");
}

QString ReportPlainText(const TReport& report) {
    QStringList lines{report.title};
    const auto rows = [&lines](const QList<TReportRow>& list) {
        for (const TReportRow& r : list) {
            QString line = r.caption + QStringLiteral(": ") + r.value;
            if (!r.unit.isEmpty())
                line += QLatin1Char(' ') + r.unit;
            lines << line;
        }
    };
    rows(report.header);
    for (const TReportSection& s : report.sections) {
        lines << QString() << s.title;
        rows(s.rows);
        lines << s.fixedLines;
    }
    if (!report.verify.title.isEmpty()) {
        lines << QString() << report.verify.title;
        rows(report.verify.rows);
    }
    for (const TReportSection& s : report.appendix) {
        lines << QString() << s.title;
        rows(s.rows);
        lines << s.fixedLines;
    }
    lines << QString() << report.signature;
    return lines.join(QLatin1Char('\n'));
}
