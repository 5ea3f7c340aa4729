#include "shell/interaction.h"

#include "shell/file_dialog.h"
#include "shell/last_folder.h"
#include "shell/message_box_title.h"
#include "shell/recent_files.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace {

class RealInteraction : public Interaction {
public:
    void plainMessage(const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Relcon4"), messageLines(text),
                        QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        KeepTitleWhole(box);
        box.exec();
    }

    int messageBox(const QString& text, const QString& caption, unsigned type) override {
        if ((type & 0x0F) == 3) // MB_YESNOCANCEL: save, don't save, cancel
            return saveQuestion(text, caption);
        const bool question = (type & 0x0F) == 4; // MB_YESNO
        const QMessageBox::Icon icon = (type & 0xF0) == 0x20   ? QMessageBox::Question
                                       : (type & 0xF0) == 0x30 ? QMessageBox::Warning
                                       : (type & 0xF0) == 0x10 ? QMessageBox::Critical
                                       : (type & 0xF0) == 0x40 ? QMessageBox::Information
                                                               : QMessageBox::NoIcon;
        QMessageBox box(icon, caption, messageLines(text),
                        question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        KeepTitleWhole(box);
        const int button = box.exec();
        // The platform box runs the queue once more before it answers.
        QCoreApplication::processEvents();
        if (!question)
            return IDOK;
        return button == QMessageBox::Yes ? IDYES : IDNO;
    }

    int execDialog(QDialog* dialog) override { return dialog->exec(); }

    static int saveQuestion(const QString& text, const QString& caption) {
        QMessageBox box(QMessageBox::Question, caption, messageLines(text),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setTextFormat(Qt::PlainText);
        box.button(QMessageBox::Save)->setText(QStringLiteral("Сохранить"));
        box.button(QMessageBox::Discard)->setText(QStringLiteral("Не сохранять"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
        box.setDefaultButton(QMessageBox::Save);
        KeepTitleWhole(box);
        const int button = box.exec();
        QCoreApplication::processEvents();
        return button == QMessageBox::Save      ? IDYES
               : button == QMessageBox::Discard ? IDNO
                                                : IDCANCEL;
    }

    void openUrl(const QUrl& url) override { QDesktopServices::openUrl(url); }

protected:
    QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                           const QString& filter) override {
        return choose(parent, {caption, dir, filter, false, RecentFiles(filter), listedFiles});
    }

    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& dir,
                           const QString& filter) override {
        return choose(parent, {caption, dir, filter, true, RecentFiles(filter), {}});
    }

private:
    static QString choose(QWidget* parent, const FileDialogRequest& request) {
        const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(parent, request);
        if (dialog->exec() != QDialog::Accepted)
            return {};
        return dialog->selectedFiles().value(0);
    }
};

RealInteraction realInteraction;
Interaction* current = nullptr;

} // namespace

QString Interaction::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                  const QString& filter,
                                  std::function<bool(const QString&)> listed) {
    listedFiles = std::move(listed);
    const QString chosen = chooseOpenFile(parent, caption, FileDialogStart(dir), filter);
    listedFiles = {};
    RememberFileFolder(chosen);
    RememberRecentFile(filter, chosen);
    return chosen;
}

QString Interaction::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                  const QString& filter) {
    const QString chosen = chooseSaveFile(parent, caption, FileDialogStart(dir), filter);
    RememberFileFolder(chosen);
    RememberRecentFile(filter, chosen);
    return chosen;
}

Interaction& interaction() {
    return current ? *current : realInteraction;
}

Interaction* setInteraction(Interaction* replacement) {
    Interaction* previous = current;
    current = replacement;
    return previous;
}

QString messageLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}
