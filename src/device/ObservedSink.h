#pragma once

#include "device/ReportSink.h"

#include <functional>
#include <utility>

namespace quilo {

// Hands every report on to another sink and then tells that one went: the
// owner of the processor uses it to look for changed fields at once after an
// edit instead of at its next tick.
class ObservedSink : public ReportSink {
public:
    explicit ObservedSink(ReportSink& next) : m_next(next) {}

    void setObserver(std::function<void()> sent) { m_sent = std::move(sent); }

    int send(const Report& report) override {
        const int result = m_next.send(report);
        if (m_sent) {
            m_sent();
        }
        return result;
    }
    void pause(std::chrono::milliseconds duration) override { m_next.pause(duration); }

private:
    ReportSink& m_next;
    std::function<void()> m_sent;
};

} // namespace quilo
