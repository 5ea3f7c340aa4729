// The user guide inside the program: the Russian guide and its pictures,
// built into the program, shown at the section of the page in use. Needs no
// outside viewer and no file beside the program.
#pragma once

#include <QWidget>

class QTextBrowser;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows the guide with the section titled heading at the top.
    void ShowSection(const QString& heading);
    QTextBrowser* Browser = nullptr;
};

// The guide's section for the page tab of the main window.
QString GuideSectionOf(int tabIndex);
// The help window of window (made on first use), shown at the section of its page.
THelpWindow* ShowHelpFor(QWidget* window, int tabIndex);
