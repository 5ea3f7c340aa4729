#include "devices/qv1m/qv1m_compare_commands.h"

#include "archive/archive_record.h"
#include "devices/compare/compare_form.h"
#include "devices/qv1/qv1_link.h"
#include "devices/qv1m/qv1m_compare.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/qv1m_page.h"
#include "report/report_pages.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"
#include "shell/user_options.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>

namespace {

const QString kUnitAndFile = QStringLiteral("Файл");

void showResult(TRelcon4* owner, const QString& title, const TCompareResult& result) {
    if (TCompareForm* form = CompareFormOf(owner))
        form->ShowResult(title, result);
}

} // namespace

TQv1mCompareCommands::TQv1mCompareCommands(TRelcon4* owner, TQv1mPage* page)
    : QObject(page), owner_(owner), page_(page) {
    setObjectName(QStringLiteral("Qv1mCompareCommands"));
    const TCompareRow row = MakeCompareRow(page, QStringLiteral("Qv1"), kVerifyRi1rWrite);
    CompareFileButton = row.compareFile;
    VerifyWriteCheckBox = row.verifyWrite;
    Row = row.layout;
    connect(CompareFileButton, &QPushButton::clicked, this,
            &TQv1mCompareCommands::CompareFileButtonClick);
    page->AfterWrite = [this](int mode) {
        if (VerifyWriteCheckBox->isChecked())
            VerifyWrite(mode);
    };
}

void TQv1mCompareCommands::CompareFileButtonClick() {
    if (owner_->fBlockPressKey)
        return;
    const QString name =
        interaction().openFileName(page_, QStringLiteral("Сравнить с файлом"), QString(),
                                   QStringLiteral("QV1M.ini (*.ini)"), Qv1mFileHasSetLayout);
    if (name.isEmpty())
        return;
    const TQv1mFileRead file = Qv1mReadFile(name);
    if (!file.ok) {
        const QString reason = file.tooShort ? QStringLiteral("в файле не хватает данных")
                               : file.reason.isEmpty() ? file.openProblem
                                                       : file.reason;
        page_->setStatus(QStringLiteral("Статус: файл не принят — ") + reason);
        return;
    }
    page_->runCommand(QStringLiteral("Статус: идёт считывание..."), [&] {
        TQv1mUnitRead unit;
        Qv1OpenClose(true);
        page_->ReadSession(unit);
        Qv1OpenClose(false);
        const double rVolt = page_->pageReference().value_or(file.set.mQV1M_s.rVolt);
        const TCompareResult result = CompareRi1r(unit, file.set, kUnitAndFile, rVolt);
        const QString title =
            QStringLiteral("Сравнение: устройство и файл ") + QFileInfo(name).fileName();
        NoteUnitCheck(*owner_, kArchiveRi1r, title, result);
        showResult(owner_, title, result);
        page_->setStatus(CompareStatusText(result));
    });
}

void TQv1mCompareCommands::VerifyWrite(int mode) {
    const QString done = page_->statusText();
    page_->setStatus(QStringLiteral("Статус: проверка записи..."));
    TQv1mUnitRead unit;
    Qv1OpenClose(true);
    TQv1mScope scope;
    if (mode >= 0) {
        // The write ran inside the session; the mode is read back in it.
        unit.session = true;
        page_->ReadMode(mode, unit);
        scope = TQv1mScope::OneMode(mode);
    } else if (page_->ReadSession(unit)) {
        // The whole set ended the session; the check leaves the unit out of one too.
        Qv1Exchange(Qv1EndSessionRequest(false));
    }
    Qv1OpenClose(false);
    const TQv1mSet& written = *page_;
    const double rVolt = page_->pageReference().value_or(written.mQV1M_s.rVolt);
    const TCompareResult result =
        CompareRi1r(unit, written, QStringLiteral("Записано"), rVolt, scope);
    const QString title = mode >= 0 ? QStringLiteral("Проверка записи режима %1").arg(mode + 1)
                                    : QStringLiteral("Проверка записи");
    NoteUnitCheck(*owner_, kArchiveRi1r, title, result);
    if (!result.equal())
        showResult(owner_, QStringLiteral("Проверка записи"), result);
    page_->setStatus(VerifyStatusText(result, done));
}

TQv1mCompareCommands* InstallQv1mCompare(TRelcon4* window, TQv1mPage* page) {
    auto* commands = new TQv1mCompareCommands(window, page);
    InsertRowAfter(page, QStringLiteral("qv1mFileRow"), commands->Row);
    return commands;
}
