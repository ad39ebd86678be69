#pragma once

#include "device/TraceSink.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace quilo {

// The diagnostic trace file: one line per report (TraceLine), appended to what the file
// holds. When it would pass its cap the file moves to FILE.1 (replacing an older one) and
// a new FILE starts, so a trace left on for days keeps at most twice the cap on disk.
// Off until opened; opened and closed while the link runs.
class ProtocolTrace : public TraceSink {
public:
    static constexpr std::uintmax_t kDefaultCapBytes = 10u * 1024u * 1024u;

    explicit ProtocolTrace(std::uintmax_t capBytes = kDefaultCapBytes) : m_cap(capBytes) {}
    ~ProtocolTrace() override;
    ProtocolTrace(const ProtocolTrace&) = delete;
    ProtocolTrace& operator=(const ProtocolTrace&) = delete;

    // Starts appending to `path`; false (and off) when it cannot be opened.
    bool open(const std::filesystem::path& path);
    void close();
    bool isOpen() const;
    std::filesystem::path path() const;

    void record(const TraceEntry& entry) override;

    // The file named by QUILO_TRACE, if set and not empty.
    static std::optional<std::string> fileFromEnvironment();
    // Microseconds of the monotonic clock, the time base of every line.
    static std::uint64_t nowUs();

private:
    bool reopenLocked();

    const std::uintmax_t m_cap;
    mutable std::mutex m_mutex;
    std::filesystem::path m_path;
    std::FILE* m_file = nullptr;
    std::uintmax_t m_size = 0;
};

} // namespace quilo
