// A protocol before it leaves the program: the object and the technician
// typed in (the technician's name kept for the user), then the preview, the
// system's print dialog or a PDF file. Every dialog goes through the
// interaction, so tests answer them headless.
#pragma once

#include "report/report.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class TReportForm : public QDialog {
    Q_OBJECT
public:
    // make builds the protocol for a header; false with the reason when it
    // cannot. fileStem is the suggested PDF name without its suffix.
    using TMake = std::function<bool(const TReportHeader&, TReport&, QString& reason)>;
    TReportForm(QWidget* parent, const QString& caption, const TReportHeader& header, TMake make,
                const QString& fileStem);

    QLineEdit* ObjectEdit = nullptr;
    QLineEdit* TechnicianEdit = nullptr;
    QPushButton* PreviewButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* SavePdfButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QLabel* StatusLabel = nullptr;

    void PreviewButtonClick();
    void PrintButtonClick();
    void SavePdfButtonClick();

private:
    // The protocol with the names as typed; false (said on the status line)
    // when it cannot be made.
    bool build(TReport& report);

    TReportHeader header_;
    TMake make_;
    QString fileStem_;
};

// Runs the form modally through the interaction.
void ShowReportForm(QWidget* parent, const QString& caption, const TReportHeader& header,
                    const TReportForm::TMake& make, const QString& fileStem);
