#include "support/pdf_text.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace testenv {

QString PdfLayoutText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString Bare(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

QString PdfBareText(const QString& path) {
    return Bare(PdfLayoutText(path));
}

QString PdfLine(const QString& path, const QString& start) {
    for (const QString& line : PdfLayoutText(path).split(QLatin1Char('\n')))
        if (line.trimmed().startsWith(start))
            return line.trimmed();
    return {};
}

} // namespace testenv
