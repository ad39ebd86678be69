#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

namespace quilo::test {

// With QUILO_SHOTS=DIR, writes what `w` shows to DIR/<name>.png, to be looked at.
inline void shoot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("QUILO_SHOTS");
    if (dir.isEmpty()) {
        return;
    }
    QDir().mkpath(dir);
    w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace quilo::test
