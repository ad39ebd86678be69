#pragma once

#include "device/DebugLog.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

struct udev;
struct udev_monitor;

namespace quilo {

// What the user is told when arrival and removal cannot be followed.
constexpr std::string_view kWatchFailedText = "Can't register device notification: ";
constexpr std::string_view kWatchFailedCaption = "Error";

// Follows HID interfaces coming and going (udev, subsystem hidraw) and reports
// each with its device node path (/dev/hidrawN, the path the link opens).
//
// Nothing runs by itself: the owner watches fd() for input (the desktop program
// with a socket notifier) and calls process(), or calls waitAndProcess() in a
// loop. Callbacks run on the thread that calls process().
class DeviceWatcher {
public:
    using PathCallback = std::function<void(const std::string& path)>;
    using FailedCallback = std::function<void(std::string_view text, std::string_view caption)>;

    explicit DeviceWatcher(DebugLog& log);
    ~DeviceWatcher();
    DeviceWatcher(const DeviceWatcher&) = delete;
    DeviceWatcher& operator=(const DeviceWatcher&) = delete;

    void setArrivalCallback(PathCallback callback) { m_arrived = std::move(callback); }
    void setRemovalCallback(PathCallback callback) { m_removed = std::move(callback); }
    // Told when start() fails, with the message box text and caption.
    void setStartFailedCallback(FailedCallback callback) { m_failed = std::move(callback); }

    // Starts listening. On failure writes the debug line, calls the failed
    // callback and returns false; the program then only connects at start.
    bool start();
    void stop();
    bool running() const { return m_monitor != nullptr; }

    // Readable when events are waiting; -1 when not running.
    int fd() const;
    // Handles every event waiting now, without blocking. Returns how many
    // arrivals and removals were reported.
    int process();
    // Waits up to `timeout` for events, then handles them.
    int waitAndProcess(std::chrono::milliseconds timeout);

private:
    void fail();

    DebugLog& m_log;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    PathCallback m_arrived;
    PathCallback m_removed;
    FailedCallback m_failed;
};

} // namespace quilo
