#pragma once

#include "device/HidTransport.h"
#include "emulator/Emulator.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace quilo {

// The HID transport of the in-process emulated processor: one interface,
// "emulator://0", with the processor's vendor and product ids. write() hands the
// report to the emulator and returns at once; replies, however late they are
// due, wait in the emulator's queue until read() collects them. Any thread may
// write while the read thread reads.
class EmulatorTransport : public HidTransport {
public:
    static constexpr const char* kPath = "emulator://0";

    // The emulator is owned by the caller and must outlive the transport.
    explicit EmulatorTransport(Emulator& emulator) : m_emulator(emulator) {}

    std::vector<std::string> interfacePaths() override;
    bool open(const std::string& path) override;
    OpenFailure lastOpenFailure() const override;
    std::optional<HidAttributes> listedAttributes(const std::string& path) override;
    std::optional<HidAttributes> attributes() override;
    int read(Report& into, std::chrono::milliseconds timeout) override;
    int write(const Report& report) override;
    void close() override;

    // Runs `f(emulator)` under the transport's lock: faults, plug buttons, the
    // log or the state for saving, while the link may be running.
    template <typename F> auto withEmulator(F&& f) {
        const WakeReader wake{m_changed}; // after the lock is released
        std::lock_guard lock(m_mutex);
        return std::forward<F>(f)(m_emulator);
    }

private:
    // A change may bring replies forward (a fault cleared): let a waiting read look.
    struct WakeReader {
        std::condition_variable& cv;
        ~WakeReader() { cv.notify_all(); }
    };

    Emulator& m_emulator;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    OpenFailure m_lastOpenFailure = OpenFailure::Failed;
};

} // namespace quilo
