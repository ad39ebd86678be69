#include "device/DeviceWatcher.h"

#include <libudev.h>
#include <poll.h>

#include <algorithm>
#include <cstring>

namespace quilo {

DeviceWatcher::DeviceWatcher(DebugLog& log) : m_log(log) {}

DeviceWatcher::~DeviceWatcher() {
    stop();
}

bool DeviceWatcher::start() {
    if (running()) {
        return true;
    }
    m_udev = udev_new();
    if (m_udev == nullptr) {
        fail();
        return false;
    }
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (m_monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        fail();
        return false;
    }
    return true;
}

void DeviceWatcher::fail() {
    stop();
    m_log.write("注册Guid错误，可能不能捕捉设备的连接或移除\n");
    if (m_failed) {
        m_failed(kWatchFailedText, kWatchFailedCaption);
    }
}

void DeviceWatcher::stop() {
    if (m_monitor != nullptr) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
    }
    if (m_udev != nullptr) {
        udev_unref(m_udev);
        m_udev = nullptr;
    }
}

int DeviceWatcher::fd() const {
    return m_monitor ? udev_monitor_get_fd(m_monitor) : -1;
}

int DeviceWatcher::process() {
    int reported = 0;
    while (m_monitor != nullptr) {
        udev_device* device = udev_monitor_receive_device(m_monitor);
        if (device == nullptr) {
            break;
        }
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action != nullptr && node != nullptr) {
            const std::string path = node;
            if (std::strcmp(action, "add") == 0 && m_arrived) {
                m_arrived(path);
                ++reported;
            } else if (std::strcmp(action, "remove") == 0 && m_removed) {
                m_removed(path);
                ++reported;
            }
        }
        udev_device_unref(device);
    }
    return reported;
}

int DeviceWatcher::waitAndProcess(std::chrono::milliseconds timeout) {
    const int descriptor = fd();
    if (descriptor < 0) {
        return 0;
    }
    pollfd entry{descriptor, POLLIN, 0};
    const int ms =
        static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, 600'000));
    if (poll(&entry, 1, ms) <= 0) {
        return 0;
    }
    return process();
}

} // namespace quilo
