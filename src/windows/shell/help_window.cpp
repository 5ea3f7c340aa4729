#include "shell/help_window.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

// Outside any namespace, as Qt's resource initialiser must be called.
static void initGuideResource() {
    Q_INIT_RESOURCE(guide);
}

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    initGuideResource();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Relcon4: руководство пользователя"));
    auto* layout = new QVBoxLayout(this);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("HelpBrowser"));
    Browser->setAccessibleName(QStringLiteral("Руководство пользователя"));
    Browser->setOpenExternalLinks(true);
    // Pictures resolve against the guide's own folder in the resources.
    Browser->setSource(QUrl(QStringLiteral("qrc:/guide/GUIDE.ru.md")),
                       QTextDocument::MarkdownResource);
    layout->addWidget(Browser);
    resize(760, 640);
}

void THelpWindow::ShowSection(const QString& heading) {
    show();
    raise();
    activateWindow();
    QTextCursor at = Browser->document()->find(heading);
    if (at.isNull())
        return;
    at.movePosition(QTextCursor::StartOfBlock);
    Browser->setTextCursor(at);
    QScrollBar* bar = Browser->verticalScrollBar();
    bar->setValue(bar->value() + Browser->cursorRect(at).top());
}

QString GuideSectionOf(int tabIndex) {
    switch (tabIndex) {
    case 0:
    case 1:
    case 2:
        return QStringLiteral("5. Блок RO-4D");
    case 3:
        return QStringLiteral("6. Блок RI1-R");
    case 4:
        return QStringLiteral("7. Проверочный стенд ZI2-Z3");
    default:
        return QStringLiteral("3. Запуск программы");
    }
}

THelpWindow* ShowHelpFor(QWidget* window, int tabIndex) {
    auto* help =
        window->findChild<THelpWindow*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly);
    if (!help)
        help = new THelpWindow(window);
    help->ShowSection(GuideSectionOf(tabIndex));
    return help;
}
