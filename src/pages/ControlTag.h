#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace quilo {

// Gives a control its id in the window's template: the language table labels it by the id,
// and tests find it by name.
inline void tagControl(QWidget* w, int ctrlId) {
    w->setProperty("ctrlId", ctrlId);
    w->setObjectName(QStringLiteral("ctrl%1").arg(ctrlId));
}

// A static text with its id.
inline QLabel* taggedLabel(const QString& text, int ctrlId, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    tagControl(label, ctrlId);
    return label;
}

} // namespace quilo
