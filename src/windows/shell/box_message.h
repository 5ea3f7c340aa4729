// The program's two ways of telling the user something, both modal.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Holder of the program's message box; it shows no window of its own.
class TBoxMessage : public QObject {
    Q_OBJECT
public:
    explicit TBoxMessage(QObject* parent = nullptr);
    // Text, caption and type as the platform message box takes them (48, 36);
    // returns its result (1 OK, 6 Yes, 7 No). The owner is ignored: every
    // caller passes none.
    int MessageBoxR(QWidget* owner, const QString& text, const QString& caption, unsigned type);
};

// A modal window titled "Relcon4" with the text and one OK button.
void ShowPlainMessage(const QString& text);
