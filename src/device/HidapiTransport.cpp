#include "device/HidapiTransport.h"

#include "device/NodeAccess.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cstring>

namespace quilo {

HidapiTransport::HidapiTransport() {
    hid_init();
}

HidapiTransport::~HidapiTransport() {
    close();
}

std::vector<std::pair<std::string, HidAttributes>> HidapiTransport::enumerate() {
    std::vector<std::pair<std::string, HidAttributes>> found;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        if (info->path == nullptr) {
            continue;
        }
        // One hidraw node may be listed once per top-level usage; examine it once.
        const std::string path = info->path;
        if (std::none_of(found.begin(), found.end(),
                         [&path](const auto& entry) { return entry.first == path; })) {
            found.emplace_back(path, HidAttributes{info->vendor_id, info->product_id});
        }
    }
    hid_free_enumeration(list);
    return found;
}

std::vector<std::string> HidapiTransport::interfacePaths() {
    std::vector<std::string> paths;
    std::map<std::string, HidAttributes> known;
    for (auto& [path, attributes] : enumerate()) {
        known.emplace(path, attributes);
        paths.push_back(path);
    }
    std::lock_guard lock(m_infoMutex);
    m_known = std::move(known);
    return paths;
}

bool HidapiTransport::open(const std::string& path) {
    close();
    const auto failed = [this, &path] {
        const bool denied = checkNodeAccess(path) == NodeAccess::PermissionDenied;
        std::lock_guard lock(m_infoMutex);
        m_lastOpenFailure = denied ? OpenFailure::PermissionDenied : OpenFailure::Failed;
        return false;
    };
    hid_device* reader = hid_open_path(path.c_str());
    if (reader == nullptr) {
        return failed();
    }
    hid_device* writer = hid_open_path(path.c_str());
    if (writer == nullptr) {
        hid_close(reader);
        return failed();
    }
    {
        std::scoped_lock lock(m_readMutex, m_writeMutex);
        m_reader = reader;
        m_writer = writer;
    }
    std::lock_guard lock(m_infoMutex);
    m_path = path;
    return true;
}

OpenFailure HidapiTransport::lastOpenFailure() const {
    std::lock_guard lock(m_infoMutex);
    return m_lastOpenFailure;
}

std::optional<HidAttributes> HidapiTransport::attributes() {
    std::string path;
    {
        std::lock_guard lock(m_infoMutex);
        path = m_path;
    }
    if (path.empty()) {
        return std::nullopt;
    }
    return listedAttributes(path);
}

std::optional<HidAttributes> HidapiTransport::listedAttributes(const std::string& path) {
    {
        std::lock_guard lock(m_infoMutex);
        if (auto it = m_known.find(path); it != m_known.end()) {
            return it->second;
        }
    }
    // Not in the last listing (or never listed): list again.
    for (const auto& [listed, attributes] : enumerate()) {
        if (listed == path) {
            return attributes;
        }
    }
    return std::nullopt;
}

int HidapiTransport::read(Report& into, std::chrono::milliseconds timeout) {
    std::lock_guard lock(m_readMutex);
    if (m_reader == nullptr) {
        return -1;
    }
    unsigned char buffer[kReportSize + 1] = {};
    const int ms =
        static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, 60'000));
    const int received = hid_read_timeout(m_reader, buffer, sizeof buffer, ms);
    if (received < 0) {
        return -1;
    }
    if (received == 0) {
        return 0;
    }
    into = normaliseInboundReport(buffer, received);
    return static_cast<int>(kReportSize);
}

int HidapiTransport::write(const Report& report) {
    std::lock_guard lock(m_writeMutex);
    if (m_writer == nullptr) {
        return -1;
    }
    // Byte 0 is already the report id hidapi expects first.
    const int written = hid_write(m_writer, report.data(), report.size());
    return written < 0 ? -1 : written;
}

void HidapiTransport::close() {
    {
        std::scoped_lock lock(m_readMutex, m_writeMutex);
        if (m_reader != nullptr) {
            hid_close(m_reader);
            m_reader = nullptr;
        }
        if (m_writer != nullptr) {
            hid_close(m_writer);
            m_writer = nullptr;
        }
    }
    std::lock_guard lock(m_infoMutex);
    m_path.clear();
}

Report normaliseInboundReport(const unsigned char* data, int length) {
    Report report{};
    if (data == nullptr || length <= 0) {
        return report;
    }
    const auto n = static_cast<std::size_t>(length);
    if (n == kReportSize - 1) {
        std::memcpy(report.data() + 1, data, n);
    } else {
        std::memcpy(report.data(), data, std::min(n, kReportSize));
    }
    return report;
}

} // namespace quilo
