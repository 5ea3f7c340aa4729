#include "report/report_form.h"

#include "report/report_pdf.h"
#include "shell/box_message.h"
#include "shell/form_parts.h"
#include "shell/interaction.h"
#include "shell/user_options.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

TReportForm::TReportForm(QWidget* parent, const QString& caption, const TReportHeader& header,
                         TMake make, const QString& fileStem)
    : QDialog(parent), header_(header), make_(std::move(make)), fileStem_(fileStem) {
    setObjectName(QStringLiteral("ReportForm"));
    setWindowTitle(caption);
    ObjectEdit = Named(new QLineEdit(header.object, this), "ReportObjectEdit");
    ObjectEdit->setPlaceholderText(QStringLiteral("здание, участок"));
    TechnicianEdit =
        Named(new QLineEdit(UserText(kReportTechnician), this), "ReportTechnicianEdit");
    TechnicianEdit->setPlaceholderText(QStringLiteral("фамилия, имя"));
    auto* names = new QFormLayout;
    names->addRow(BuddyLabel(QStringLiteral("&Объект:"), ObjectEdit, this), ObjectEdit);
    names->addRow(BuddyLabel(QStringLiteral("&Техник:"), TechnicianEdit, this), TechnicianEdit);

    PreviewButton =
        Named(new QPushButton(QStringLiteral("&Просмотр…"), this), "ReportPreviewButton");
    PrintButton = Named(new QPushButton(QStringLiteral("П&ечать…"), this), "ReportPrintButton");
    SavePdfButton =
        Named(new QPushButton(QStringLiteral("&Сохранить PDF…"), this), "ReportSavePdfButton");
    CloseButton = Named(new QPushButton(QStringLiteral("&Закрыть"), this), "ReportCloseButton");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {PreviewButton, PrintButton, SavePdfButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    connect(PreviewButton, &QPushButton::clicked, this, &TReportForm::PreviewButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TReportForm::PrintButtonClick);
    connect(SavePdfButton, &QPushButton::clicked, this, &TReportForm::SavePdfButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    PreviewButton->setDefault(true);

    StatusLabel = Named(new QLabel(this), "ReportStatusLabel");
    StatusLabel->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addLayout(buttons);
    layout->addWidget(StatusLabel);
    resize(560, sizeHint().height());
}

bool TReportForm::build(TReport& report) {
    // Kept as typed; the protocol itself keeps the name to one line.
    SetUserText(kReportTechnician, TechnicianEdit->text());
    TReportHeader header = header_;
    header.object = ObjectEdit->text();
    header.technician = TechnicianEdit->text();
    QString reason;
    if (make_(header, report, reason))
        return true;
    StatusLabel->setText(QStringLiteral("Протокол не составлен: ") + reason);
    return false;
}

void TReportForm::PreviewButtonClick() {
    TReport report;
    if (!build(report))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.title);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(report.title);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&report](QPrinter* device) { PrintReport(report, *device); });
    interaction().execDialog(&preview);
}

void TReportForm::PrintButtonClick() {
    TReport report;
    if (!build(report))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.title);
    QPrintDialog dialog(&printer, this);
    if (interaction().execDialog(&dialog) != QDialog::Accepted)
        return;
    PrintReport(report, printer);
    StatusLabel->setText(printer.outputFileName().isEmpty()
                             ? QStringLiteral("Отправлено на печать: ") + printer.printerName()
                             : QStringLiteral("Напечатано в файл: ") +
                                   QDir::toNativeSeparators(printer.outputFileName()));
}

void TReportForm::SavePdfButtonClick() {
    TReport report;
    if (!build(report))
        return;
    QString path = interaction().saveFileName(this, QStringLiteral("Сохранить протокол"),
                                              fileStem_ + QStringLiteral(".pdf"),
                                              QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString problem;
    if (!WriteReportPdf(report, path, &problem)) {
        StatusLabel->setText(QStringLiteral("Протокол не сохранён"));
        ShowPlainMessage(QStringLiteral("Протокол не сохранён в файл %1: %2.")
                             .arg(QDir::toNativeSeparators(path), problem));
        return;
    }
    StatusLabel->setText(QStringLiteral("Сохранено: ") + QDir::toNativeSeparators(path));
}

void ShowReportForm(QWidget* parent, const QString& caption, const TReportHeader& header,
                    const TReportForm::TMake& make, const QString& fileStem) {
    TReportForm form(parent, caption, header, make, fileStem);
    interaction().execDialog(&form);
}
