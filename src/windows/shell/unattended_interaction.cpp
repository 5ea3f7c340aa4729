#include "shell/unattended_interaction.h"

UnattendedInteraction::UnattendedInteraction(Sink sink) : sink_(std::move(sink)) {
    previous_ = setInteraction(this);
}

UnattendedInteraction::~UnattendedInteraction() {
    setInteraction(previous_);
}

void UnattendedInteraction::plainMessage(const QString& text) {
    if (sink_)
        sink_(messageLines(text));
}

int UnattendedInteraction::messageBox(const QString& text, const QString&, unsigned type) {
    plainMessage(text);
    // A question (yes/no, or save/don't save/cancel) is answered No.
    const unsigned buttons = type & 0x0F;
    return buttons == (MB_YESNO_ICONQUESTION & 0x0F) ||
                   buttons == (MB_YESNOCANCEL_ICONQUESTION & 0x0F)
               ? IDNO
               : IDOK;
}

int UnattendedInteraction::execDialog(QDialog*) {
    return 0;
}

QString UnattendedInteraction::chooseOpenFile(QWidget*, const QString&, const QString&,
                                              const QString&) {
    return {};
}

QString UnattendedInteraction::chooseSaveFile(QWidget*, const QString&, const QString&,
                                              const QString&) {
    return {};
}

void UnattendedInteraction::openUrl(const QUrl&) {}
