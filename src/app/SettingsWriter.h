#pragma once

#include <QVariantMap>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QSettings;

namespace quilo {

// Writes the settings file on a thread of its own, so that its disk sync never
// holds the user-interface thread. Writes coalesce: while one is on its way, only
// the newest of the values handed in meanwhile is written next.
class SettingsWriter {
public:
    // `open` makes the store on the writer's thread.
    explicit SettingsWriter(std::function<std::unique_ptr<QSettings>()> open);
    // Writes what is still waiting.
    ~SettingsWriter();
    SettingsWriter(const SettingsWriter&) = delete;
    SettingsWriter& operator=(const SettingsWriter&) = delete;

    // The whole set of values the file is to hold; returns at once.
    void write(QVariantMap values);
    // Waits until everything handed in is on disk.
    void flush();

private:
    void run();

    std::function<std::unique_ptr<QSettings>()> m_open;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<QVariantMap> m_pending;
    bool m_writing = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace quilo
