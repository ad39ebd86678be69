#pragma once

#include "model/DeviceImage.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quilo {

// Keys 16 and 17 (music volume + and -): the processor reports bytes 0-15 of its key
// table only, so SetRemoteTable would overwrite its codes of these two keys with whatever
// the host holds. The program remembers the last codes it knows for them, from a file
// loaded, a key learned or a table sent, and sends those.
constexpr std::size_t kFirstUnreportedKey = 16;

struct RemoteTail {
    std::array<std::optional<std::uint8_t>, 2> keys; // keys 16 and 17
    bool complete() const { return keys[0] && keys[1]; }
    bool operator==(const RemoteTail&) const = default;
};

// Bytes [first, first + count) of `table` are now what the processor has (or will have
// once the table is sent): notes those of 16-17.
void noteRemoteTail(RemoteTail& known, const RemoteKeyTable& table, std::size_t first,
                    std::size_t count);
// Puts the known codes into bytes 16-17 of `table`; the unknown keep the host's.
void applyRemoteTail(RemoteKeyTable& table, const RemoteTail& known);

// Empty when both keys are known; otherwise what a send sets them to, e.g. (English)
// "Keys 16-17 (music volume +/-) are not known for this processor: sending the table
// sets them to 00 00."
std::string unknownRemoteTailText(const RemoteKeyTable& table, const RemoteTail& known,
                                  int language);

// The store both programs keep it in: one line a processor model, "MODEL 08 1C" ("--"
// for a key not known). A missing or unreadable file knows nothing.
class RemoteTailFile {
public:
    explicit RemoteTailFile(std::filesystem::path path) : m_path(std::move(path)) {}
    RemoteTail known(std::u16string_view model) const;
    // False when the file could not be written.
    bool remember(std::u16string_view model, const RemoteTail& tail) const;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Under `configFolder` (the user's configuration folder): quilo/remote-keys-16-17.
std::filesystem::path remoteTailPath(const std::filesystem::path& configFolder);

} // namespace quilo
