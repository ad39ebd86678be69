#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

namespace quilo::test {

// How long the user-interface thread went without handling its events: a precise
// timer ticks every few milliseconds on it, and the longest gap between two ticks,
// less the tick, is the longest stall. Runs while the event loop runs (or while a
// test pumps it).
class StallMeter : public QObject {
public:
    explicit StallMeter(int tickMs = 5) : m_tickMs(tickMs) {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        restart();
        m_timer.start(m_tickMs);
    }

    // Forgets the stalls seen so far.
    void restart() {
        m_clock.start();
        m_last = 0;
        m_longest = 0;
    }
    // The longest stall since the (re)start, in milliseconds, counting the time since
    // the last tick.
    qint64 longestMs() const {
        const qint64 open = m_clock.elapsed() - m_last;
        return std::max<qint64>(0, std::max(m_longest, open) - m_tickMs);
    }

private:
    void tick() {
        const qint64 now = m_clock.elapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }

    int m_tickMs;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

} // namespace quilo::test
