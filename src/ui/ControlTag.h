#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace quilo {

// Gives a control its id in the window's template and returns it: the language table
// labels it by the id, and tests find it by name.
template <typename W> W* tagControl(W* w, int ctrlId) {
    w->setProperty("ctrlId", ctrlId);
    w->setObjectName(QStringLiteral("ctrl%1").arg(ctrlId));
    return w;
}

// A static text with its id.
inline QLabel* taggedLabel(const QString& text, int ctrlId, QWidget* parent) {
    return tagControl(new QLabel(text, parent), ctrlId);
}

} // namespace quilo
