#pragma once

#include "device/HidTransport.h"
#include "device/InboundHandler.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quilo::test {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct FakeInterface {
    std::string path;
    std::uint16_t vendorId = kProcessorVendorId;
    std::uint16_t productId = kProcessorProductId;
    bool openable = true;
    bool attributesReadable = true;
    bool permissionDenied = false; // listed, but this user may not open it
};

inline FakeInterface otherDevice(std::string path) {
    return FakeInterface{std::move(path), 0x046D, 0xC52B};
}

// A transport with scripted interfaces and a scripted processor. With a reply
// delay set, every written report is answered (echoed) after that delay; without
// one the processor is silent and replies come only from pushInbound().
class FakeTransport : public HidTransport {
public:
    struct Written {
        Report report;
        Clock::time_point at;
    };

    explicit FakeTransport(std::vector<FakeInterface> interfaces = {FakeInterface{"/dev/hidraw0"}})
        : m_interfaces(std::move(interfaces)) {}

    // --- scripting
    // Plugs and unplugs; only while nothing is open.
    void setInterfaces(std::vector<FakeInterface> interfaces) {
        std::lock_guard lock(m_mutex);
        m_interfaces = std::move(interfaces);
    }
    void setReplyDelay(std::optional<std::chrono::microseconds> delay) {
        std::lock_guard lock(m_mutex);
        m_replyDelay = delay;
    }
    void pushInbound(const Report& r) {
        {
            std::lock_guard lock(m_mutex);
            m_inbound.push_back({r, Clock::now()});
        }
        m_cv.notify_all();
    }
    void failNextRead() {
        {
            std::lock_guard lock(m_mutex);
            m_failRead = true;
        }
        m_cv.notify_all();
    }
    void setWriteResult(std::optional<int> result) {
        std::lock_guard lock(m_mutex);
        m_writeResult = result;
    }
    // Called with every written report, outside the fake's lock.
    void setOnWrite(std::function<void(const Report&)> f) {
        std::lock_guard lock(m_mutex);
        m_onWrite = std::move(f);
    }

    // --- what happened
    std::vector<Written> written() const {
        std::lock_guard lock(m_mutex);
        return m_written;
    }
    std::vector<Report> writtenReports() const {
        std::vector<Report> out;
        for (const auto& w : written()) {
            out.push_back(w.report);
        }
        return out;
    }
    std::size_t writeCount() const {
        std::lock_guard lock(m_mutex);
        return m_written.size();
    }
    bool waitForWrites(std::size_t n, std::chrono::milliseconds timeout = 5s) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, timeout, [&] { return m_written.size() >= n; });
    }
    std::vector<std::string> openAttempts() const {
        std::lock_guard lock(m_mutex);
        return m_openAttempts;
    }
    int closeCount() const {
        std::lock_guard lock(m_mutex);
        return m_closes;
    }
    bool isOpen() const {
        std::lock_guard lock(m_mutex);
        return m_open.has_value();
    }

    // --- HidTransport
    std::vector<std::string> interfacePaths() override {
        std::lock_guard lock(m_mutex);
        std::vector<std::string> paths;
        for (const auto& i : m_interfaces) {
            paths.push_back(i.path);
        }
        return paths;
    }
    bool open(const std::string& path) override {
        std::lock_guard lock(m_mutex);
        m_openAttempts.push_back(path);
        m_lastOpenFailure = OpenFailure::Failed;
        for (std::size_t i = 0; i < m_interfaces.size(); ++i) {
            if (m_interfaces[i].path != path) {
                continue;
            }
            if (m_interfaces[i].permissionDenied) {
                m_lastOpenFailure = OpenFailure::PermissionDenied;
                return false;
            }
            if (m_interfaces[i].openable) {
                m_open = i;
                return true;
            }
        }
        return false;
    }
    OpenFailure lastOpenFailure() const override {
        std::lock_guard lock(m_mutex);
        return m_lastOpenFailure;
    }
    std::optional<HidAttributes> listedAttributes(const std::string& path) override {
        std::lock_guard lock(m_mutex);
        for (const auto& i : m_interfaces) {
            if (i.path == path) {
                return HidAttributes{i.vendorId, i.productId};
            }
        }
        return std::nullopt;
    }
    std::optional<HidAttributes> attributes() override {
        std::lock_guard lock(m_mutex);
        if (!m_open || !m_interfaces[*m_open].attributesReadable) {
            return std::nullopt;
        }
        const auto& i = m_interfaces[*m_open];
        return HidAttributes{i.vendorId, i.productId};
    }
    int read(Report& into, std::chrono::milliseconds timeout) override {
        std::unique_lock lock(m_mutex);
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            if (m_failRead) {
                m_failRead = false;
                return -1;
            }
            if (!m_open) {
                return -1;
            }
            if (!m_inbound.empty() && m_inbound.front().due <= Clock::now()) {
                into = m_inbound.front().report;
                m_inbound.pop_front();
                return static_cast<int>(kReportSize);
            }
            auto wakeAt = deadline;
            if (!m_inbound.empty() && m_inbound.front().due < wakeAt) {
                wakeAt = m_inbound.front().due;
            }
            if (Clock::now() >= deadline) {
                return 0;
            }
            m_cv.wait_until(lock, wakeAt);
        }
    }
    int write(const Report& report) override {
        std::function<void(const Report&)> onWrite;
        int result = 0;
        {
            std::lock_guard lock(m_mutex);
            if (!m_open) {
                return -1;
            }
            m_written.push_back({report, Clock::now()});
            if (m_replyDelay) {
                m_inbound.push_back({report, Clock::now() + *m_replyDelay});
            }
            onWrite = m_onWrite;
            result = m_writeResult.value_or(static_cast<int>(kReportSize));
        }
        m_cv.notify_all();
        if (onWrite) {
            onWrite(report);
        }
        return result;
    }
    void close() override {
        {
            std::lock_guard lock(m_mutex);
            if (m_open) {
                ++m_closes;
            }
            m_open.reset();
            m_inbound.clear();
        }
        m_cv.notify_all();
    }

private:
    struct Pending {
        Report report;
        Clock::time_point due;
    };

    std::vector<FakeInterface> m_interfaces;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::optional<std::size_t> m_open;
    OpenFailure m_lastOpenFailure = OpenFailure::Failed;
    std::deque<Pending> m_inbound;
    std::optional<std::chrono::microseconds> m_replyDelay;
    std::optional<int> m_writeResult;
    std::function<void(const Report&)> m_onWrite;
    bool m_failRead = false;
    std::vector<Written> m_written;
    std::vector<std::string> m_openAttempts;
    int m_closes = 0;
};

// Keeps what the read thread hands on. Can be told to hold the read thread
// inside the handler until released.
class RecordingHandler : public InboundHandler {
public:
    void handleReport(const Report& report) override {
        std::unique_lock lock(m_mutex);
        m_reports.push_back(report);
        m_entered = true;
        m_cv.notify_all();
        m_cv.wait(lock, [this] { return !m_hold; });
    }
    void linkClosing() override {
        if (onLinkClosing) {
            onLinkClosing();
        }
    }
    void hold() {
        std::lock_guard lock(m_mutex);
        m_hold = true;
    }

    // What the link's close tells the handler (set before the link opens).
    std::function<void()> onLinkClosing;
    void release() {
        {
            std::lock_guard lock(m_mutex);
            m_hold = false;
        }
        m_cv.notify_all();
    }
    bool waitEntered(std::chrono::milliseconds timeout = 5s) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, timeout, [this] { return m_entered; });
    }
    bool waitForReports(std::size_t n, std::chrono::milliseconds timeout = 5s) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, timeout, [&] { return m_reports.size() >= n; });
    }
    std::vector<Report> reports() const {
        std::lock_guard lock(m_mutex);
        return m_reports;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Report> m_reports;
    bool m_hold = false;
    bool m_entered = false;
};

// Polls `done` until it holds or `timeout` passes.
inline bool eventually(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace quilo::test
