#include "emulator/EmulatorTransport.h"

namespace quilo {

std::vector<std::string> EmulatorTransport::interfacePaths() {
    std::lock_guard lock(m_mutex);
    if (m_emulator.unplugged()) {
        return {};
    }
    return {kPath};
}

bool EmulatorTransport::open(const std::string& path) {
    std::lock_guard lock(m_mutex);
    m_lastOpenFailure = OpenFailure::Failed;
    if (path != kPath || m_emulator.unplugged()) {
        return false;
    }
    if (m_emulator.faults().locked) {
        m_lastOpenFailure = OpenFailure::PermissionDenied;
        return false;
    }
    m_emulator.dropPending(); // nothing from an earlier session is still on its way
    m_open = true;
    return true;
}

OpenFailure EmulatorTransport::lastOpenFailure() const {
    std::lock_guard lock(m_mutex);
    return m_lastOpenFailure;
}

std::optional<HidAttributes> EmulatorTransport::listedAttributes(const std::string& path) {
    std::lock_guard lock(m_mutex);
    if (path != kPath || m_emulator.unplugged()) {
        return std::nullopt;
    }
    return HidAttributes{kProcessorVendorId, kProcessorProductId};
}

std::optional<HidAttributes> EmulatorTransport::attributes() {
    std::lock_guard lock(m_mutex);
    if (!m_open) {
        return std::nullopt;
    }
    return HidAttributes{kProcessorVendorId, kProcessorProductId};
}

int EmulatorTransport::read(Report& into, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    const EmulatorTime deadline = EmulatorClock::now() + timeout;
    for (;;) {
        if (!m_open || m_emulator.unplugged()) {
            return -1;
        }
        const EmulatorTime now = EmulatorClock::now();
        if (auto report = m_emulator.popDue(now)) {
            into = *report;
            return static_cast<int>(into.size());
        }
        if (now >= deadline) {
            return 0;
        }
        EmulatorTime wakeAt = deadline;
        if (auto due = m_emulator.nextDue(); due && *due < wakeAt) {
            wakeAt = *due;
        }
        m_changed.wait_until(lock, wakeAt);
    }
}

int EmulatorTransport::write(const Report& report) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_open || m_emulator.unplugged()) {
            return -1;
        }
        m_emulator.handle(report, EmulatorClock::now());
    }
    m_changed.notify_all();
    return static_cast<int>(report.size());
}

void EmulatorTransport::close() {
    {
        std::lock_guard lock(m_mutex);
        m_open = false;
        m_emulator.dropPending();
    }
    m_changed.notify_all();
}

} // namespace quilo
