// The main window's status bar: where the technician is. The port in use,
// the unit last identified on it and when, an open session or the bench
// watch holding the port, and the file the page shown was last loaded from
// or saved to.
#pragma once

#include <QList>
#include <QMap>
#include <QStatusBar>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class TEditMarks;

class TWhereBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TWhereBar(QWidget* parent = nullptr);

    // Another port forgets the unit and the session of the last one.
    void showPort(const QString& port);
    // kind "RO-4D", "RI1-R" or "ZI2-Z3"; the time of reading is added.
    void showUnit(const QString& kind, const QString& ident);
    // An empty text: no session open.
    void showSession(const QString& text);
    void showWatch(bool holding);
    // The file of the pages tabs; shown while one of them is the page in view.
    void noteFile(const QList<QWidget*>& tabs, const QString& path);
    void showTab(QWidget* tab);

    // Every part shown, joined; for a test or a screen reader's summary.
    QString summary() const;

    // "Вернуть считанное": puts the page shown back as it was last read or
    // loaded; enabled while that page holds edits.
    QPushButton* RevertButton = nullptr;
    // The marks of a page, so the button follows them.
    void watch(TEditMarks* marks);
    // A button for every page, under "Вернуть считанное".
    void addButton(QPushButton* button);

private:
    QLabel* part(const char* name);
    void refreshSession();
    void refreshRevert();
    TEditMarks* marksShown() const;

    QGridLayout* grid_;
    QHBoxLayout* buttons_ = nullptr;
    QLabel* port_;
    QLabel* unit_;
    QLabel* session_;
    QLabel* file_;
    QString portText_;
    QString sessionText_;
    bool watching_ = false;
    QWidget* tab_ = nullptr;
    QMap<QWidget*, QString> files_;
};

// The status bar of the main window w belongs to, or nullptr (a page on its own).
TWhereBar* WhereBarOf(const QWidget* w);
