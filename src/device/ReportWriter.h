#pragma once

#include "device/ReportSink.h"
#include "device/UsbLink.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace quilo {

// The user-interface thread's way to the processor: every call queues its work
// for one writer thread, which runs the paced writes in calling order, and
// returns at once.
//
// A SetParam for the same module, parameter and count as the SetParam at the
// tail of the queue replaces it, so a fast slider drag cannot build a backlog.
// A paced report stays in the queue until the moment it is written, so even the
// one waiting for the processor's reply takes the newest value. Only the tail is
// ever replaced, so nothing is reordered, and a pause between two steps of a
// ramp keeps every step.
class ReportWriter : public ReportSink {
public:
    explicit ReportWriter(UsbLink& link);
    // Stops the writer thread; whatever is still queued is dropped. A paced write
    // in progress finishes first, so destroy the writer after closing the link.
    ~ReportWriter() override;
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    // Queues a paced write. 61 while the link is open, 0 when it is not.
    int send(const Report& report) override;
    // Queues a gap: the writer thread waits, the caller does not.
    void pause(std::chrono::milliseconds duration) override;
    // Queues an unpaced write (Z-Wave frames and their acknowledgements).
    int sendUnpaced(const Report& report);
    // Queues a release of the pacing, so that the next queued write does not
    // wait for a reply that will not come.
    void releasePacing();

    // Waits until everything queued so far has been written. Not for the
    // user-interface thread.
    void flush();
    // The same, but gives up after `limit` (the end of the program); true when
    // everything went out.
    bool flushFor(std::chrono::milliseconds limit);

    // Reports handed to the link so far (coalesced ones count once).
    std::uint64_t written() const;
    // Entries not yet done, including a paced report waiting for its reply.
    std::size_t queued() const;

private:
    enum class Kind { Paced, Unpaced, Pause, Release };
    struct Entry {
        Kind kind = Kind::Paced;
        Report report{};
        std::chrono::milliseconds duration{0};
        std::uint64_t session = 0; // link connection the entry was queued for
    };

    int enqueueReport(Kind kind, const Report& report);
    void enqueue(Entry entry);
    // Nothing queued or being written (or stopping); under m_mutex.
    bool drained() const;
    void run();

    UsbLink& m_link;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Entry> m_queue;
    bool m_busy = false;
    bool m_stop = false;
    std::uint64_t m_written = 0;
    std::thread m_thread; // last: starts after everything above exists
};

} // namespace quilo
