#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quilo {

// One infrared key of a plug as its key file lists it.
struct PlugKey {
    int index = -1;   // -1 when the attribute is missing or not a number
    std::string name; // UTF-8
    int status = 0;   // 1 learned, 0 not
    bool operator==(const PlugKey&) const = default;
};

enum class KeyFileStatus {
    Ok,
    Missing,     // there is no key file for the plug
    Malformed,   // the file exists but is not XML this program can read; it is left as it is
    CannotRead,  // the file exists but cannot be opened or read
    CannotWrite, // saving failed; the previous file is unchanged
    KeyNotFound, // no Key with that Index; nothing was saved
};

// The per-plug key files: "<folder>/<id>.xml", UTF-8 XML listing the 63 infrared
// keys a plug can learn:
//   <?xml version="1.0" encoding="UTF-8"?>
//   <Keys>
//   <Key Index="0" Name="Key1" Status="0"/>
//   ... up to Index="62" Name="Key63"
//   </Keys>
// with CR LF after every line, no indentation, and the five predefined entities
// in attribute values. Every change loads the file, changes it and saves it whole
// through a temporary file and a rename, so a failed save leaves the old file.
// Text before the first element is ignored when reading. For the user-interface
// thread (or one thread at a time).
class PlugKeyFile {
public:
    // `folder` is the `Plug` folder in the user's documents folder.
    explicit PlugKeyFile(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // The folder, created when it does not exist; `error` is set when it is then
    // not a folder (the window says "创建Key目录失败!").
    const std::filesystem::path& keyFolder(std::error_code& error) const;
    std::filesystem::path path(int id) const;
    bool exists(int id) const;

    // Writes a new file with the 63 default keys, replacing any old one.
    KeyFileStatus createKeyFile(int id) const;
    // What the editors call before they read: creates the default file only when
    // there is none. A file that exists but cannot be read is never replaced; the
    // status tells the window to say so.
    KeyFileStatus ensureKeyFile(int id) const;
    KeyFileStatus deleteKeyFile(int id) const;

    // The keys in file order.
    KeyFileStatus readKeys(int id, std::vector<PlugKey>& keys) const;
    // The Name of the Key whose Index is k; empty when the file, the key or the
    // attribute is missing or the file cannot be read.
    std::string keyName(int id, int k) const;
    KeyFileStatus setKeyName(int id, int k, std::string_view name) const;
    KeyFileStatus setKeyStatus(int id, int k, int status) const;

    // The bytes of a new key file.
    static std::string defaultKeyFileText();

private:
    template <typename Change> KeyFileStatus change(int id, int k, Change&& change) const;

    std::filesystem::path m_folder;
};

} // namespace quilo
