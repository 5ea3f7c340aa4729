// The compare commands of the RI1-R page: the unit (read as a session start
// reads it) against a chosen QV1M.ini file, and the check of a write by
// reading back what was written.
#pragma once

#include <QObject>

class QCheckBox;
class QLayout;
class QPushButton;
class TQv1mPage;
class TRelcon4;

class TQv1mCompareCommands : public QObject {
    Q_OBJECT
public:
    TQv1mCompareCommands(TRelcon4* owner, TQv1mPage* page);

    // "Сравнить с файлом…": a damaged file is refused before any exchange.
    void CompareFileButtonClick();
    // After a write succeeded, inside its command: mode index n, or -1 for
    // the whole set (read back through a session start, then ended again).
    void VerifyWrite(int mode);

    QPushButton* CompareFileButton = nullptr;
    QCheckBox* VerifyWriteCheckBox = nullptr;
    QLayout* Row = nullptr;

private:
    TRelcon4* owner_;
    TQv1mPage* page_;
};

// Adds the compare row under the file row of the page.
TQv1mCompareCommands* InstallQv1mCompare(TRelcon4* window, TQv1mPage* page);
