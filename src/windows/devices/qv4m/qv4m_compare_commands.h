// The compare commands of the page "COM и команды VI-4D": the unit against a
// chosen configuration file, the unit against what the pages would write,
// and the check of a write by reading the seven pages back.
#pragma once

#include "devices/qv4m/ro4d_compare.h"

#include <QObject>

class QCheckBox;
class QHBoxLayout;
class QPushButton;
class TQv4mCommandsPage;
class TQv4mPages;
class TRelcon4;

class TQv4mCompareCommands : public QObject {
    Q_OBJECT
public:
    TQv4mCompareCommands(TRelcon4* owner, TQv4mPages* pages, TQv4mCommandsPage* page);

    // "Сравнить с файлом…": a damaged file is refused before any exchange.
    void CompareFileButtonClick();
    // "Сравнить страницу с устройством": what a write would change.
    void ComparePageButtonClick();
    // After a write that succeeded, when the check box asks for it.
    void VerifyWrite();

    QPushButton* CompareFileButton = nullptr;
    QPushButton* ComparePageButton = nullptr;
    QCheckBox* VerifyWriteCheckBox = nullptr;
    QHBoxLayout* Row = nullptr;

private:
    // Reads the unit, compares it with other and shows the window when
    // wanted; the result for the status line.
    TCompareResult readAndCompare(const TRo4dImage& other, const QString& side);
    void show(const QString& title, const TCompareResult& result);

    TRelcon4* owner_;
    TQv4mPages* pages_;
    TQv4mCommandsPage* page_;
};

// Adds the compare row under the write row of the commands page.
TQv4mCompareCommands* InstallQv4mCompare(TRelcon4* window, TQv4mPages* pages,
                                         TQv4mCommandsPage* page);
