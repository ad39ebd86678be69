#include "app/MemoryTrim.h"

#include <malloc.h>

namespace quilo {

MemoryTrim::MemoryTrim(int intervalMs, QObject* parent) : QObject(parent) {
    // Walks the arenas' free lists: a few milliseconds at most for what this
    // program frees in a minute.
    connect(&m_timer, &QTimer::timeout, this, [] { ::malloc_trim(0); });
    m_timer.start(intervalMs);
}

} // namespace quilo
