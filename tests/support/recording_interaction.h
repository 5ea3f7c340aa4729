// A stand-in for the user: records every modal question and answers it as
// the test says, so flows with messages in the middle run headless.
#pragma once

#include "shell/interaction.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>

struct RecordedMessage {
    QString kind; // "plain" or "box"
    QString text;
    QString caption;
    unsigned type = 0;
};

class RecordingInteraction : public Interaction {
public:
    RecordingInteraction() { previous_ = setInteraction(this); }
    ~RecordingInteraction() override { setInteraction(previous_); }

    std::vector<RecordedMessage> messages;
    std::vector<QUrl> openedUrls;
    // Answers for message boxes, taken in order; IDOK/IDYES when none is left.
    std::deque<int> boxAnswers;
    // Called for every dialog; returns what exec() would. Default: rejects.
    std::function<int(QDialog*)> onDialog;
    std::deque<QString> openFileAnswers;
    std::deque<QString> saveFileAnswers;
    // The folder (or suggested file) each file dialog was opened with.
    std::vector<QString> fileDialogDirs;
    // What each open dialog was asked to list (empty: every file).
    std::vector<std::function<bool(const QString&)>> fileDialogLists;
    // Called after each message is recorded (e.g. to check state while it is "up").
    std::function<void(const RecordedMessage&)> onMessage;

    void plainMessage(const QString& text) override { record({"plain", text, "Relcon4", 0}); }

    int messageBox(const QString& text, const QString& caption, unsigned type) override {
        record({"box", text, caption, type});
        if (!boxAnswers.empty()) {
            const int answer = boxAnswers.front();
            boxAnswers.pop_front();
            return answer;
        }
        return (type & 0x0F) == 4 ? IDYES : IDOK;
    }

    int execDialog(QDialog* dialog) override { return onDialog ? onDialog(dialog) : 0; }

    void openUrl(const QUrl& url) override { openedUrls.push_back(url); }

    QStringList texts() const {
        QStringList all;
        for (const auto& m : messages)
            all << m.text;
        return all;
    }

protected:
    QString chooseOpenFile(QWidget*, const QString&, const QString& dir, const QString&) override {
        fileDialogDirs.push_back(dir);
        fileDialogLists.push_back(listedFiles);
        return take(openFileAnswers);
    }
    QString chooseSaveFile(QWidget*, const QString&, const QString& dir, const QString&) override {
        fileDialogDirs.push_back(dir);
        return take(saveFileAnswers);
    }

private:
    void record(const RecordedMessage& m) {
        messages.push_back(m);
        if (onMessage)
            onMessage(m);
    }
    static QString take(std::deque<QString>& answers) {
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
    Interaction* previous_ = nullptr;
};
