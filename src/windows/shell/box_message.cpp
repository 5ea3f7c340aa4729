#include "shell/box_message.h"

#include "shell/interaction.h"

TBoxMessage::TBoxMessage(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("BoxMessage"));
}

int TBoxMessage::MessageBoxR(QWidget* /*owner*/, const QString& text, const QString& caption,
                             unsigned type) {
    return interaction().messageBox(text, caption, type);
}

void ShowPlainMessage(const QString& text) {
    interaction().plainMessage(text);
}
