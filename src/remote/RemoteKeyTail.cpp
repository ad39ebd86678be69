#include "remote/RemoteKeyTail.h"

#include "model/AtomicWrite.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace quilo {

namespace {

// Model names are short; the file keeps them as UTF-8 with spaces made '_'.
std::string modelKey(std::u16string_view model) {
    std::string out;
    for (const char16_t c : model) {
        if (c == u' ' || c == u'\t') {
            out += '_';
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out.empty() ? std::string("-") : out;
}

std::optional<std::uint8_t> parseCode(const std::string& text) {
    unsigned v = 0;
    if (text.size() != 2 || std::sscanf(text.c_str(), "%2x", &v) != 1) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(v);
}

std::string codeText(const std::optional<std::uint8_t>& code) {
    char text[4] = "--";
    if (code) {
        std::snprintf(text, sizeof text, "%02X", unsigned(*code));
    }
    return text;
}

std::vector<std::string> lines(const std::filesystem::path& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

} // namespace

void noteRemoteTail(RemoteTail& known, const RemoteKeyTable& table, std::size_t first,
                    std::size_t count) {
    for (std::size_t k = 0; k < known.keys.size(); ++k) {
        const std::size_t byte = kFirstUnreportedKey + k;
        if (byte >= first && byte < first + count) {
            known.keys[k] = table[byte];
        }
    }
}

void applyRemoteTail(RemoteKeyTable& table, const RemoteTail& known) {
    for (std::size_t k = 0; k < known.keys.size(); ++k) {
        if (known.keys[k]) {
            table[kFirstUnreportedKey + k] = *known.keys[k];
        }
    }
}

std::string unknownRemoteTailText(const RemoteKeyTable& table, const RemoteTail& known,
                                  int language) {
    if (known.complete()) {
        return {};
    }
    char text[256];
    std::snprintf(text, sizeof text,
                  language == 1 ? "Keys 16-17 (music volume +/-) are not known for this "
                                  "processor: sending the table sets them to %02X %02X."
                                : "本机的第16-17键（音乐音量+/-）键码未知：发送键码表会将其设为 "
                                  "%02X %02X。",
                  unsigned(table[16]), unsigned(table[17]));
    return text;
}

RemoteTail RemoteTailFile::known(std::u16string_view model) const {
    const std::string key = modelKey(model);
    RemoteTail tail;
    for (const std::string& line : lines(m_path)) {
        std::istringstream words(line);
        std::string name, a, b;
        if (words >> name >> a >> b && name == key) {
            tail.keys = {parseCode(a), parseCode(b)};
        }
    }
    return tail;
}

bool RemoteTailFile::remember(std::u16string_view model, const RemoteTail& tail) const {
    const std::string key = modelKey(model);
    std::string text;
    for (const std::string& line : lines(m_path)) {
        std::istringstream words(line);
        std::string name;
        if (!(words >> name) || name != key) {
            text += line + '\n';
        }
    }
    text += key + ' ' + codeText(tail.keys[0]) + ' ' + codeText(tail.keys[1]) + '\n';
    std::error_code ec;
    std::filesystem::create_directories(m_path.parent_path(), ec);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return !writeFileAtomically(m_path, std::span(bytes, text.size()));
}

std::filesystem::path remoteTailPath(const std::filesystem::path& configFolder) {
    return configFolder / "quilo" / "remote-keys-16-17";
}

} // namespace quilo
