#pragma once

#include "model/Synchroniser.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

namespace quilo {

class AppSettings;
class DeviceAccess;
class Language;
class Prompter;
class SyncStarter;
struct DeviceImage;

// The processor's four stored modes, mode files on disk and the built-in speaker
// presets: loading and storing them, the recent-file list and the question about
// unsaved changes. Keeps the mode a loaded file is stored into once its write-out
// is done, and the preset last chosen.
class ModeFileController : public QObject {
    Q_OBJECT
public:
    ModeFileController(DeviceImage& image, DeviceAccess& device, SyncTimings timings,
                       Prompter& prompter, Language& language, AppSettings& settings,
                       SyncStarter& sync, QWidget& window);

    void loadStoredMode(int mode);
    // From the keyboard, storing holds the mode keys back for a moment.
    void saveStoredMode(int mode, bool fromKeyboard = false);
    // Returns a stored mode to its factory setting and reads it back.
    void resetStoredMode(int mode);
    void openModeFile();
    void saveModeFile();
    // A mode file by its path: loaded and written out when a processor is
    // connected and the image is free, otherwise nothing. Files from outside come
    // through DocumentOpener, which keeps them until then.
    void openModeFileByPath(const QString& path);
    void loadPreset(int entry);
    // The unsaved-changes question of closing; false keeps the program open.
    bool confirmClose();
    // A write-out or read-back ended well: a file named for a stored mode goes into it.
    void onSynchronised();

    int pendingModeSlot() const { return m_pendingModeSlot; }
    int chosenPreset() const { return m_chosenPreset; }
    // Whether the mode keys wait for the processor to finish storing.
    bool modeKeysBlocked() const;

signals:
    void recentFilesChanged(const QStringList& files);
    void presetChosen(int entry);
    // The current mode or the unsaved mark changed.
    void modeChanged();

private:
    // Reads a mode file into the image and pushes it; a bad file is reported.
    void loadModeFileAndPush(const QString& path);
    // Stores the current mode in the processor and writes the image to `path`;
    // a failed write is reported and leaves the changes marked unsaved.
    bool saveModeAndFile(const QString& path);
    void addRecentFile(const QString& path);

    DeviceImage& m_image;
    DeviceAccess& m_device;
    SyncTimings m_timings;
    Prompter& m_prompter;
    Language& m_language;
    AppSettings& m_settings;
    SyncStarter& m_sync;
    QWidget& m_window;
    int m_pendingModeSlot = -1;
    int m_chosenPreset = -1; // entry 0-14 of the speaker-preset menu
    qint64 m_modeKeysBlockedUntil = 0;
};

} // namespace quilo
