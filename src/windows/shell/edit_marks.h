// The entries a technician changed on a page since it was last read, loaded,
// written or saved: each is marked (in italics) as it is changed, the page
// can be put back as it was, and closing the window asks about them.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

class TEditMarks : public QObject {
    Q_OBJECT
public:
    // Watches the entries under roots; page names them in the closing question.
    TEditMarks(const QString& page, const QList<QWidget*>& roots, QObject* parent);

    // Puts the page back as it was at the last baseline.
    std::function<void()> Revert;
    // Saves the page to its file; false when it was not saved. Unset: no file.
    std::function<bool()> Save;

    // What the page shows now is what the unit or the file holds.
    void setBaseline();
    bool edited() const { return !marked_.isEmpty() || changedOther_; }
    QString page() const { return page_; }
    const QList<QWidget*>& roots() const { return roots_; }
    // Revert, then a new baseline.
    void revert();

signals:
    void changed();

private:
    void mark(QWidget* entry);

    QString page_;
    QList<QWidget*> roots_;
    QList<QPointer<QWidget>> marked_;
    bool changedOther_ = false;
};

// The marks of the page that tab belongs to, or nullptr.
TEditMarks* EditMarksOf(const QWidget* window, const QWidget* tab);
// Every page's marks in window.
QList<TEditMarks*> AllEditMarks(const QWidget* window);
