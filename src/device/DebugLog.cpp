#include "device/DebugLog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quilo {

DebugLog::DebugLog(bool echoToStderr, std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1)), m_echo(echoToStderr) {}

bool DebugLog::echoRequestedByEnvironment() {
    const char* value = std::getenv("QUILO_DEBUG");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

void DebugLog::write(std::string_view line) {
    std::lock_guard lock(m_mutex);
    if (m_lines.size() == m_capacity) {
        m_lines.pop_front();
    }
    m_lines.emplace_back(line);
    if (m_echo) {
        // Lines keep their own endings; the ones without get one so that
        // consecutive lines stay apart on the terminal.
        std::fwrite(line.data(), 1, line.size(), stderr);
        if (line.empty() || line.back() != '\n') {
            std::fputc('\n', stderr);
        }
    }
}

std::vector<std::string> DebugLog::lines() const {
    std::lock_guard lock(m_mutex);
    return {m_lines.begin(), m_lines.end()};
}

std::size_t DebugLog::count(std::string_view line) const {
    std::lock_guard lock(m_mutex);
    return static_cast<std::size_t>(std::count(m_lines.begin(), m_lines.end(), line));
}

void DebugLog::clear() {
    std::lock_guard lock(m_mutex);
    m_lines.clear();
}

} // namespace quilo
