#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>

class QSettings;

namespace quilo {

class SettingsWriter;

// The per-user settings under "QUILO V1.0": `language`, `ApplicationLook` and
// the recent-file list. Read once at start and kept in memory; every change is
// written to the file on a thread of its own (SettingsWriter).
class AppSettings {
public:
    static constexpr const char* kOrganisation = "QUILO V1.0";
    static constexpr const char* kApplication = "QUILO";
    static constexpr int kRecentFileCount = 10;
    static constexpr int kApplicationLook = 215;

    // The user's settings store.
    AppSettings();
    // An INI file of its own (tests).
    explicit AppSettings(const QString& iniPath);
    explicit AppSettings(const std::function<std::unique_ptr<QSettings>()>& open);
    ~AppSettings();

    // 1 English; any other stored value is Chinese (0).
    int language() const;
    void setLanguage(int language);

    int applicationLook() const;
    void setApplicationLook(int look);

    // Most recent first, at most ten.
    QStringList recentFiles() const;
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);

    // Waits until every change is on disk.
    void sync();
    // Any value under its key as the file holds it (tests, values of other versions).
    QVariant storedValue(const QString& key) const { return m_values.value(key); }
    void setStoredValue(const QString& key, const QVariant& value);

private:
    void writeRecentFiles(const QStringList& files);
    void changed();

    QVariantMap m_values;
    std::unique_ptr<SettingsWriter> m_writer;
};

} // namespace quilo
