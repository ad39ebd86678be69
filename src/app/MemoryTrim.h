#pragma once

#include <QObject>
#include <QTimer>

namespace quilo {

// Hands the memory the allocator keeps free in its arenas back to the system
// once a minute. The program frees a lot after read-backs, windows and mode
// files, and without this the resident set keeps what it once needed.
class MemoryTrim : public QObject {
    Q_OBJECT
public:
    explicit MemoryTrim(int intervalMs = 60000, QObject* parent = nullptr);

private:
    QTimer m_timer;
};

} // namespace quilo
