// The user guide as one HTML page, for the Windows folder and its Start-menu
// entry: Windows opens .html in the browser, .md in nothing. Its pictures stay
// beside it under the same relative names.
//   relcon4-guide-html GUIDE.ru.md GUIDE.ru.html
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: relcon4-guide-html GUIDE.ru.md GUIDE.ru.html\n", stderr);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "relcon4-guide-html: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(in.readAll()));
    document.setMetaInformation(QTextDocument::DocumentTitle,
                                QStringLiteral("Relcon4: руководство пользователя"));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(document.toHtml().toUtf8()) < 0 || !out.flush()) {
        std::fprintf(stderr, "relcon4-guide-html: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
