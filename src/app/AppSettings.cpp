#include "app/AppSettings.h"

#include "app/SettingsWriter.h"

#include <QFileInfo>
#include <QSettings>

#include <iterator>

namespace quilo {

namespace {
const QString kRecentGroup = QStringLiteral("Recent File List");
const QString kSettingsGroup = QStringLiteral("Settings");
} // namespace

namespace {

QVariantMap everything(const QSettings& store) {
    QVariantMap values;
    for (const QString& key : store.allKeys()) {
        values.insert(key, store.value(key));
    }
    return values;
}

} // namespace

AppSettings::AppSettings()
    : AppSettings([] {
          return std::make_unique<QSettings>(QString::fromLatin1(kOrganisation),
                                             QString::fromLatin1(kApplication));
      }) {}

AppSettings::AppSettings(const QString& iniPath)
    : AppSettings(
          [iniPath] { return std::make_unique<QSettings>(iniPath, QSettings::IniFormat); }) {}

AppSettings::AppSettings(const std::function<std::unique_ptr<QSettings>()>& open)
    : m_values(everything(*open())), m_writer(std::make_unique<SettingsWriter>(open)) {}

AppSettings::~AppSettings() = default;

void AppSettings::changed() {
    m_writer->write(m_values);
}

void AppSettings::setStoredValue(const QString& key, const QVariant& value) {
    m_values.insert(key, value);
    changed();
}

int AppSettings::language() const {
    bool ok = false;
    const int v = m_values.value(kSettingsGroup + QStringLiteral("/language"), 0).toInt(&ok);
    return ok && v == 1 ? 1 : 0;
}

void AppSettings::setLanguage(int language) {
    setStoredValue(kSettingsGroup + QStringLiteral("/language"), language);
}

int AppSettings::applicationLook() const {
    return m_values.value(kSettingsGroup + QStringLiteral("/ApplicationLook"), 0).toInt();
}

void AppSettings::setApplicationLook(int look) {
    setStoredValue(kSettingsGroup + QStringLiteral("/ApplicationLook"), look);
}

QStringList AppSettings::recentFiles() const {
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString f =
            m_values.value(kRecentGroup + QStringLiteral("/File%1").arg(i)).toString();
        if (!f.isEmpty() && !files.contains(f)) {
            files.append(f);
        }
    }
    return files;
}

void AppSettings::writeRecentFiles(const QStringList& files) {
    const QString prefix = kRecentGroup + QLatin1Char('/');
    for (auto it = m_values.begin(); it != m_values.end();) {
        it = it.key().startsWith(prefix) ? m_values.erase(it) : std::next(it);
    }
    for (int i = 0; i < files.size() && i < kRecentFileCount; ++i) {
        m_values.insert(prefix + QStringLiteral("File%1").arg(i + 1), files[i]);
    }
    changed();
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
    m_writer->flush();
}

} // namespace quilo
