#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace quilo {

// The per-user settings under "QUILO V1.0": `language`, `ApplicationLook` and
// the recent-file list.
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

    void sync();
    QSettings& store() { return *m_settings; }

private:
    void writeRecentFiles(const QStringList& files);

    std::unique_ptr<QSettings> m_settings;
};

} // namespace quilo
