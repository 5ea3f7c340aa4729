// For programs that run the windows with nobody at the screen (benchmarks,
// screenshots): every message goes to a sink, every question gets its
// default answer, no dialog or file chooser opens.
#pragma once

#include "shell/interaction.h"

#include <functional>

class UnattendedInteraction : public Interaction {
public:
    using Sink = std::function<void(const QString& lines)>;
    // Takes over from the interaction in force until destroyed.
    explicit UnattendedInteraction(Sink sink);
    ~UnattendedInteraction() override;

    void plainMessage(const QString& text) override;
    // A question (yes/no, save/don't save/cancel) is answered No: nothing is
    // overwritten, and a window closes without asking again.
    int messageBox(const QString& text, const QString& caption, unsigned type) override;
    int execDialog(QDialog* dialog) override;
    void openUrl(const QUrl& url) override;

protected:
    QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& dir,
                           const QString& filter) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& dir,
                           const QString& filter) override;

private:
    Sink sink_;
    Interaction* previous_ = nullptr;
};
