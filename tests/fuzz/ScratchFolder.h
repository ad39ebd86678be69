#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quilo::test {

// A private folder for targets that read their input from a file, removed at
// exit. On tmpfs when there is one: saves sync their files, and on a disk that
// would cost the fuzzer most of its speed.
class ScratchFolder {
public:
    ScratchFolder() {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string tmpl = (base / "quilo-fuzz-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) {
            std::abort();
        }
        m_path = tmpl;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Replaces `name` by exactly these bytes and returns its path.
    std::filesystem::path put(const std::string& name, const std::uint8_t* data,
                              std::size_t size) const {
        const std::filesystem::path p = m_path / name;
        std::ofstream(p, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return p;
    }

    static std::vector<std::uint8_t> bytesOf(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    std::filesystem::path m_path;
};

} // namespace quilo::test
