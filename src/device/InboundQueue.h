#pragma once

#include "device/InboundHandler.h"
#include "device/Report.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace quilo {

// The read thread's handler: replies that carry image data wait here for the
// image's owner, who drains them into the image through the dispatcher (see the
// threading rule of DeviceImage). Everything else the dispatcher takes on the read
// thread at once.
//
// A reply is queued inside handleReport, so before the link lets the next paced
// write go: a paced writer that drains after each write finds the reply to its
// previous report in the image, as the synchronisation needs.
class InboundQueue : public InboundHandler {
public:
    // `notify` is called on the read thread after a reply was queued.
    explicit InboundQueue(SplitInboundHandler& dispatcher, std::function<void()> notify = {})
        : m_dispatcher(dispatcher), m_notify(std::move(notify)) {}

    void handleReport(const Report& report) override;
    void linkClosing() override { m_dispatcher.linkClosing(); }

    // For the image's owner only: applies every queued reply, oldest first, and
    // returns how many there were.
    std::size_t drain();
    std::size_t size() const;

private:
    SplitInboundHandler& m_dispatcher;
    std::function<void()> m_notify;
    mutable std::mutex m_mutex;
    std::deque<Report> m_reports;
};

} // namespace quilo
