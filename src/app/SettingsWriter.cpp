#include "app/SettingsWriter.h"

#include <QSettings>

namespace quilo {

SettingsWriter::SettingsWriter(std::function<std::unique_ptr<QSettings>()> open)
    : m_open(std::move(open)), m_thread([this] { run(); }) {}

SettingsWriter::~SettingsWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void SettingsWriter::write(QVariantMap values) {
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(values);
    }
    m_changed.notify_all();
}

void SettingsWriter::flush() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending && !m_writing; });
}

void SettingsWriter::run() {
    std::unique_ptr<QSettings> store;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pending || m_stop; });
        if (!m_pending) {
            return; // stopped with nothing left to write
        }
        const QVariantMap values = std::move(*m_pending);
        m_pending.reset();
        m_writing = true;
        lock.unlock();
        if (!store) {
            store = m_open();
        }
        for (const QString& key : store->allKeys()) {
            if (!values.contains(key)) {
                store->remove(key);
            }
        }
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            store->setValue(it.key(), it.value());
        }
        store->sync();
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}

} // namespace quilo
