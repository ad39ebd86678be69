#include "app/AppSettings.h"

#include <QFileInfo>
#include <QSettings>

namespace quilo {

namespace {
const QString kRecentGroup = QStringLiteral("Recent File List");
const QString kSettingsGroup = QStringLiteral("Settings");
} // namespace

AppSettings::AppSettings()
    : m_settings(std::make_unique<QSettings>(QString::fromLatin1(kOrganisation),
                                             QString::fromLatin1(kApplication))) {}

AppSettings::AppSettings(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

AppSettings::~AppSettings() = default;

int AppSettings::language() const {
    bool ok = false;
    const int v = m_settings->value(kSettingsGroup + QStringLiteral("/language"), 0).toInt(&ok);
    return ok && v == 1 ? 1 : 0;
}

void AppSettings::setLanguage(int language) {
    m_settings->setValue(kSettingsGroup + QStringLiteral("/language"), language);
}

int AppSettings::applicationLook() const {
    return m_settings->value(kSettingsGroup + QStringLiteral("/ApplicationLook"), 0).toInt();
}

void AppSettings::setApplicationLook(int look) {
    m_settings->setValue(kSettingsGroup + QStringLiteral("/ApplicationLook"), look);
}

QStringList AppSettings::recentFiles() const {
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString f =
            m_settings->value(kRecentGroup + QStringLiteral("/File%1").arg(i)).toString();
        if (!f.isEmpty() && !files.contains(f)) {
            files.append(f);
        }
    }
    return files;
}

void AppSettings::writeRecentFiles(const QStringList& files) {
    m_settings->remove(kRecentGroup);
    for (int i = 0; i < files.size() && i < kRecentFileCount; ++i) {
        m_settings->setValue(kRecentGroup + QStringLiteral("/File%1").arg(i + 1), files[i]);
    }
}

void AppSettings::addRecentFile(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(full);
    files.prepend(full);
    writeRecentFiles(files);
}

void AppSettings::removeRecentFile(const QString& path) {
    QStringList files = recentFiles();
    if (files.removeAll(path) > 0) {
        writeRecentFiles(files);
    }
}

void AppSettings::sync() {
    m_settings->sync();
}

} // namespace quilo
