// A commissioning protocol as plain data: the header, the sections of
// caption / value / unit rows in the pages' groups, the check of what the
// unit holds, an appendix and the signature line. The unit kinds fill it
// (ro4d_report.h, ri1r_report.h, zi2z3_report.h); the print layer lays it
// out on A4, and tests read it back from the PDF.
#pragma once

#include "devices/compare/compare_result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct TReportRow {
    QString caption;
    QString value;
    QString unit;
    bool operator==(const TReportRow&) const = default;
};

struct TReportSection {
    QString title;
    QList<TReportRow> rows;
    // Lines set in a fixed-width font (register words).
    QStringList fixedLines;
    bool operator==(const TReportSection&) const = default;
};

// Who and what the protocol is for; object and technician as typed.
struct TReportHeader {
    QString port;
    QDateTime when;
    QString object;
    QString technician;
    QString source; // "чтение устройства", a file's path or an archive record
};

struct TReport {
    QString title;
    QList<TReportRow> header;
    QList<TReportSection> sections;
    // The check of what the unit holds; empty title when none ran.
    TReportSection verify;
    QList<TReportSection> appendix;
    QString signature;
};

// A name kept to one line of the layout: control characters and bidi marks
// become spaces, runs of blanks one space, at most maxLength characters
// (the last one an ellipsis when cut).
QString ReportNameText(const QString& name, int maxLength = 200);

// The header rows every protocol starts with, after the unit's own lines.
QList<TReportRow> ReportHeaderRows(const TReportHeader& header);

// The check's section: "устройство хранит записанное" or the differences.
TReportSection VerifySection(const QString& title, const TCompareResult& result);

// "да" / "нет".
QString YesNo(bool value);

// The signature line.
QString ReportSignatureLine();

// The whole protocol as text, one row a line ("caption: value unit"); what
// a PDF of it shows, for the tests and a terminal.
QString ReportPlainText(const TReport& report);
