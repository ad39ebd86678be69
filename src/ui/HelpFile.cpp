#include "ui/HelpFile.h"

#include "ui/Resources.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace quilo {

HelpFile::HelpFile(QString folder) : m_folder(std::move(folder)) {
    if (m_folder.isEmpty()) {
        m_folder = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                       .filePath(QStringLiteral("QUILO"));
    }
}

QString HelpFile::path() const {
    return QDir(m_folder).filePath(QStringLiteral("Plug.html"));
}

QByteArray HelpFile::embedded() {
    ensureResources();
    QFile f(QStringLiteral(":/help/Plug.html"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool HelpFile::ensureExists() const {
    if (QFileInfo::exists(path())) {
        return true;
    }
    if (!QDir().mkpath(m_folder)) {
        return false;
    }
    const QByteArray doc = embedded();
    QSaveFile out(path());
    if (doc.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(doc) != doc.size()) {
        return false;
    }
    return out.commit();
}

bool HelpFile::open(int context) const {
    if (!QFileInfo::exists(path())) {
        return false;
    }
    QUrl url = QUrl::fromLocalFile(path());
    url.setFragment(QStringLiteral("context-%1").arg(context));
    return QDesktopServices::openUrl(url);
}

} // namespace quilo
