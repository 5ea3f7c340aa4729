#include "devices/qv4m/qv4m_compare_commands.h"

#include "archive/archive_record.h"
#include "devices/compare/compare_form.h"
#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/qv4m_pages.h"
#include "report/report_pages.h"
#include "shell/box_message.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"
#include "shell/user_options.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kReading = QStringLiteral("Статус: идёт считывание...");

} // namespace

TQv4mCompareCommands::TQv4mCompareCommands(TRelcon4* owner, TQv4mPages* pages,
                                           TQv4mCommandsPage* page)
    : QObject(page), owner_(owner), pages_(pages), page_(page) {
    setObjectName(QStringLiteral("Qv4mCompareCommands"));
    const TCompareRow row = MakeCompareRow(page, QString(), kVerifyRo4dWrite);
    CompareFileButton = row.compareFile;
    VerifyWriteCheckBox = row.verifyWrite;
    Row = row.layout;
    ComparePageButton = new QPushButton(QStringLiteral("Сравнить страницу с устройством"), page);
    ComparePageButton->setObjectName(QStringLiteral("ComparePageButton"));
    Row->insertWidget(1, ComparePageButton);
    connect(CompareFileButton, &QPushButton::clicked, this,
            &TQv4mCompareCommands::CompareFileButtonClick);
    connect(ComparePageButton, &QPushButton::clicked, this,
            &TQv4mCompareCommands::ComparePageButtonClick);
    page->AfterWrite = [this] {
        if (VerifyWriteCheckBox->isChecked())
            VerifyWrite();
    };
}

TCompareResult TQv4mCompareCommands::readAndCompare(const TRo4dImage& other, const QString& side) {
    TRo4dUnitImage unit;
    page_->ReadUnitImage(unit);
    return CompareRo4d(unit, other, side);
}

void TQv4mCompareCommands::show(const QString& title, const TCompareResult& result) {
    NoteUnitCheck(*owner_, kArchiveRo4d, title, result);
    if (TCompareForm* form = CompareFormOf(owner_))
        form->ShowResult(title, result);
}

void TQv4mCompareCommands::CompareFileButtonClick() {
    if (owner_->fBlockPressKey)
        return;
    const QString name =
        interaction().openFileName(page_, QStringLiteral("Сравнить с файлом"), QString(),
                                   QStringLiteral("QV4 binary file (*.qvf)"));
    if (name.isEmpty())
        return;
    TRo4dImage file;
    QString reason;
    if (!ReadConfigImage(name, file, reason)) {
        page_->StatusLabel1()->setText(QStringLiteral("Статус: файл не принят — ") + reason);
        return;
    }
    page_->RunCommand(kReading, [&] {
        const TCompareResult result = readAndCompare(file, Ro4dFileSide());
        show(QStringLiteral("Сравнение: устройство и файл ") + QFileInfo(name).fileName(), result);
        return CompareStatusText(result);
    });
}

void TQv4mCompareCommands::ComparePageButtonClick() {
    if (owner_->fBlockPressKey)
        return;
    TRo4dImage pageImage;
    if (!pages_->PageImage(pageImage)) {
        ShowPlainMessage(UnusableVrefMessage());
        return;
    }
    page_->RunCommand(kReading, [&] {
        const TCompareResult result = readAndCompare(pageImage, Ro4dPageSide());
        show(QStringLiteral("Сравнение: устройство и страница"), result);
        return CompareStatusText(result);
    });
}

void TQv4mCompareCommands::VerifyWrite() {
    const TRo4dImage written{mParamRegs, mModeRegs, mExtraWords};
    page_->RunCommand(QStringLiteral("Статус: проверка записи..."), [&] {
        const TCompareResult result = readAndCompare(written, Ro4dWrittenSide());
        NoteUnitCheck(*owner_, kArchiveRo4d, QStringLiteral("Проверка записи"), result);
        if (!result.equal())
            show(QStringLiteral("Проверка записи"), result);
        return VerifyStatusText(result, QStringLiteral("Статус: выполнено"));
    });
}

TQv4mCompareCommands* InstallQv4mCompare(TRelcon4* window, TQv4mPages* pages,
                                         TQv4mCommandsPage* page) {
    auto* commands = new TQv4mCompareCommands(window, pages, page);
    InsertRowAfter(page, QStringLiteral("WriteRow"), commands->Row);
    return commands;
}
