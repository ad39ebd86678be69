#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quilo {

// Collects the link's debug lines. Written from any thread. Keeps the most
// recent lines only, so a link that keeps failing cannot grow it without end.
// When asked to, it also copies every line to standard error.
class DebugLog {
public:
    explicit DebugLog(bool echoToStderr = false, std::size_t capacity = 2000);

    // True when the environment asks for the lines on standard error (QUILO_DEBUG=1).
    static bool echoRequestedByEnvironment();

    void write(std::string_view line);

    std::vector<std::string> lines() const;
    // How many kept lines equal `line` exactly.
    std::size_t count(std::string_view line) const;
    bool contains(std::string_view line) const { return count(line) > 0; }
    void clear();

private:
    mutable std::mutex m_mutex;
    std::deque<std::string> m_lines;
    std::size_t m_capacity;
    bool m_echo;
};

} // namespace quilo
