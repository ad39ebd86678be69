#include "device/ProtocolTrace.h"

#include <chrono>
#include <cstdlib>
#include <system_error>

namespace quilo {

ProtocolTrace::~ProtocolTrace() {
    close();
}

bool ProtocolTrace::reopenLocked() {
    m_file = std::fopen(m_path.c_str(), "a");
    if (!m_file) {
        return false;
    }
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(m_path, ec);
    m_size = ec ? 0 : size;
    return true;
}

bool ProtocolTrace::open(const std::filesystem::path& path) {
    std::lock_guard lock(m_mutex);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_path = path;
    return reopenLocked();
}

void ProtocolTrace::close() {
    std::lock_guard lock(m_mutex);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool ProtocolTrace::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_file != nullptr;
}

std::filesystem::path ProtocolTrace::path() const {
    std::lock_guard lock(m_mutex);
    return m_path;
}

void ProtocolTrace::record(const TraceEntry& entry) {
    const std::string line = formatTraceLine(entry) + '\n';
    std::lock_guard lock(m_mutex);
    if (!m_file) {
        return;
    }
    if (m_size > 0 && m_size + line.size() > m_cap) {
        std::fclose(m_file);
        m_file = nullptr;
        std::filesystem::path older = m_path;
        older += ".1";
        std::error_code ec;
        std::filesystem::rename(m_path, older, ec);
        if (!reopenLocked()) {
            return;
        }
    }
    if (std::fwrite(line.data(), 1, line.size(), m_file) == line.size()) {
        m_size += line.size();
    }
    // A trace is read when something went wrong, perhaps after a crash.
    std::fflush(m_file);
}

std::optional<std::string> ProtocolTrace::fileFromEnvironment() {
    const char* value = std::getenv("QUILO_TRACE");
    if (!value || !*value) {
        return std::nullopt;
    }
    return std::string(value);
}

std::uint64_t ProtocolTrace::nowUs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace quilo
