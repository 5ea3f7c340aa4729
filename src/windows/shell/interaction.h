// Every modal question the program puts to the user passes through here, so
// tests can answer it headless and record what was asked.
#pragma once

#include <QString>
#include <functional>

class QDialog;
class QUrl;
class QWidget;

// Message box types and results, as the platform message box defines them.
inline constexpr unsigned MB_OK_ICONEXCLAMATION = 48;
inline constexpr unsigned MB_YESNO_ICONQUESTION = 36;
// Save, don't save, cancel: answered IDYES, IDNO, IDCANCEL.
inline constexpr unsigned MB_YESNOCANCEL_ICONQUESTION = 35;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

class Interaction {
public:
    virtual ~Interaction() = default;
    virtual void plainMessage(const QString& text) = 0;
    virtual int messageBox(const QString& text, const QString& caption, unsigned type) = 0;
    // Runs a modal dialog; returns what QDialog::exec() would.
    virtual int execDialog(QDialog* dialog) = 0;
    // The file dialogs. An empty dir opens the folder the user chose a file in
    // last (kept per user across runs), a bare file name is suggested there;
    // the folder of the file chosen is remembered for the next dialog, and the
    // file among the last files of its filter's kind, which each dialog offers.
    // Where listed is given, the dialog shows only the files it accepts.
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter, std::function<bool(const QString&)> listed = {});
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter);
    // Opens a document or address in the desktop's viewer, without waiting.
    virtual void openUrl(const QUrl& url) = 0;

protected:
    // What the dialog being chosen in should list (empty: every file).
    std::function<bool(const QString&)> listedFiles;
    // The user's choice of a file, starting in dir; empty when cancelled.
    virtual QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                                   const QString& filter) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& dir,
                                   const QString& filter) = 0;
};

// The interaction in force: the real windows unless a test has set its own.
Interaction& interaction();
// Installs a replacement (nullptr restores the real windows); returns the previous one.
Interaction* setInteraction(Interaction* replacement);

// The texts of a message as lines: CR LF, a lone LF and a lone CR each break a line.
QString messageLines(const QString& text);
