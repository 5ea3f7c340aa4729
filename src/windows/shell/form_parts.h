// Small helpers of the forms built in code: a widget named for tests and
// the accessibility bus, and a label that is an entry's buddy (its caption
// and its Alt key).
#pragma once

#include <QLabel>
#include <QString>

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

inline QLabel* BuddyLabel(const QString& text, QWidget* entry, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(entry);
    return label;
}
