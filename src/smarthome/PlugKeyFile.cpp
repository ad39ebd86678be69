#include "smarthome/PlugKeyFile.h"

#include "model/AtomicWrite.h"
#include "model/FileError.h"
#include "model/FileRead.h"
#include "smarthome/PlugRecord.h"

#include <pugixml.hpp>

#include <fstream>
#include <iterator>

namespace quilo {

namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr const char* kEol = "\r\n";
// A key file is about 2.5 KB; anything far larger is not one.
constexpr std::size_t kMaxFileSize = 1u << 20;
// A key file is two elements deep. Anything much deeper is not one either, and
// the writer, which recurses into elements, must never meet it: a megabyte of
// nested elements would overflow the stack.
constexpr int kMaxDepth = 32;

struct DepthLimit : pugi::xml_tree_walker {
    bool for_each(pugi::xml_node&) override { return depth() < kMaxDepth; }
};

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\t':
            out += "&#9;";
            break;
        default:
            out += c;
        }
    }
}

// One element per line, no indentation: an element without children as an empty
// element, one holding only text on a single line.
void appendElement(std::string& out, const pugi::xml_node& e) {
    out += '<';
    out += e.name();
    for (const pugi::xml_attribute& a : e.attributes()) {
        out += ' ';
        out += a.name();
        out += "=\"";
        appendEscaped(out, a.value());
        out += '"';
    }
    bool hasElements = false;
    for (const pugi::xml_node& c : e.children()) {
        hasElements = hasElements || c.type() == pugi::node_element;
    }
    if (!e.first_child()) {
        out += "/>";
    } else if (!hasElements) {
        out += '>';
        appendEscaped(out, e.text().get());
        out += "</" + std::string(e.name()) + '>';
    } else {
        out += '>';
        out += kEol;
        for (const pugi::xml_node& c : e.children()) {
            if (c.type() == pugi::node_element) {
                appendElement(out, c);
            } else if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
                appendEscaped(out, c.value());
                out += kEol;
            }
        }
        out += "</" + std::string(e.name()) + '>';
    }
    out += kEol;
}

std::string documentText(const pugi::xml_document& doc) {
    std::string out = kDeclaration;
    out += kEol;
    appendElement(out, doc.document_element());
    return out;
}

pugi::xml_document defaultDocument() {
    pugi::xml_document doc;
    pugi::xml_node keys = doc.append_child("Keys");
    for (int i = 0; i < kInfraredKeyCount; ++i) {
        pugi::xml_node key = keys.append_child("Key");
        key.append_attribute("Index") = std::to_string(i).c_str();
        key.append_attribute("Name") = ("Key" + std::to_string(i + 1)).c_str();
        key.append_attribute("Status") = "0";
    }
    return doc;
}

KeyFileStatus load(const std::filesystem::path& path, pugi::xml_document& doc) {
    std::vector<std::uint8_t> bytes;
    if (const std::error_code ec = readRegularFile(path, kMaxFileSize, bytes)) {
        if (ec == std::errc::no_such_file_or_directory) {
            return KeyFileStatus::Missing;
        }
        return ec == FileError::NotRegularFile || ec == std::errc::is_a_directory
                   ? KeyFileStatus::Malformed
                   : KeyFileStatus::CannotRead;
    }
    if (bytes.size() > kMaxFileSize) {
        return KeyFileStatus::Malformed;
    }
    const pugi::xml_parse_result parsed = doc.load_buffer(bytes.data(), bytes.size());
    DepthLimit limit;
    if (!parsed || !doc.document_element() || !doc.traverse(limit)) {
        return KeyFileStatus::Malformed;
    }
    return KeyFileStatus::Ok;
}

KeyFileStatus save(const std::filesystem::path& path, const pugi::xml_document& doc) {
    const std::string text = documentText(doc);
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    return writeFileAtomically(path, std::span(data, text.size())) ? KeyFileStatus::CannotWrite
                                                                   : KeyFileStatus::Ok;
}

int numberOr(const pugi::xml_attribute& a, int fallback) {
    const std::string_view text = a.value();
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos ||
        text.size() > 9) {
        return fallback;
    }
    return a.as_int(fallback);
}

// The first key whose Index reads as k, the way readKeys reads it, so that
// "04" written by hand is key 4 for every lookup and change.
pugi::xml_node findKey(const pugi::xml_document& doc, int k) {
    if (k < 0) {
        return {};
    }
    for (const pugi::xml_node& key : doc.document_element().children("Key")) {
        if (numberOr(key.attribute("Index"), -1) == k) {
            return key;
        }
    }
    return {};
}

} // namespace

const std::filesystem::path& PlugKeyFile::keyFolder(std::error_code& error) const {
    error.clear();
    if (!std::filesystem::exists(m_folder, error)) {
        std::filesystem::create_directories(m_folder, error);
    }
    if (!error && !std::filesystem::is_directory(m_folder, error)) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    return m_folder;
}

std::filesystem::path PlugKeyFile::path(int id) const {
    return m_folder / (std::to_string(id) + ".xml");
}

bool PlugKeyFile::exists(int id) const {
    std::error_code ec;
    return std::filesystem::exists(path(id), ec);
}

KeyFileStatus PlugKeyFile::createKeyFile(int id) const {
    std::error_code ec;
    keyFolder(ec);
    if (ec) {
        return KeyFileStatus::CannotWrite;
    }
    return save(path(id), defaultDocument());
}

KeyFileStatus PlugKeyFile::ensureKeyFile(int id) const {
    pugi::xml_document doc;
    const KeyFileStatus status = load(path(id), doc);
    return status == KeyFileStatus::Missing ? createKeyFile(id) : status;
}

KeyFileStatus PlugKeyFile::deleteKeyFile(int id) const {
    std::error_code ec;
    if (!std::filesystem::remove(path(id), ec)) {
        return ec ? KeyFileStatus::CannotWrite : KeyFileStatus::Missing;
    }
    return KeyFileStatus::Ok;
}

KeyFileStatus PlugKeyFile::readKeys(int id, std::vector<PlugKey>& keys) const {
    keys.clear();
    pugi::xml_document doc;
    if (const KeyFileStatus status = load(path(id), doc); status != KeyFileStatus::Ok) {
        return status;
    }
    for (const pugi::xml_node& key : doc.document_element().children("Key")) {
        keys.push_back({numberOr(key.attribute("Index"), -1), key.attribute("Name").value(),
                        numberOr(key.attribute("Status"), 0)});
    }
    return KeyFileStatus::Ok;
}

std::string PlugKeyFile::keyName(int id, int k) const {
    pugi::xml_document doc;
    if (load(path(id), doc) != KeyFileStatus::Ok) {
        return {};
    }
    return findKey(doc, k).attribute("Name").value();
}

KeyFileStatus PlugKeyFile::setKeyName(int id, int k, std::string_view name) const {
    return change(id, k, [name](pugi::xml_node key) {
        pugi::xml_attribute a = key.attribute("Name");
        (a ? a : key.append_attribute("Name")) = std::string(name).c_str();
    });
}

KeyFileStatus PlugKeyFile::setKeyStatus(int id, int k, int status) const {
    return change(id, k, [status](pugi::xml_node key) {
        pugi::xml_attribute a = key.attribute("Status");
        (a ? a : key.append_attribute("Status")) = std::to_string(status).c_str();
    });
}

template <typename Change> KeyFileStatus PlugKeyFile::change(int id, int k, Change&& change) const {
    pugi::xml_document doc;
    if (const KeyFileStatus status = load(path(id), doc); status != KeyFileStatus::Ok) {
        return status;
    }
    const pugi::xml_node key = findKey(doc, k);
    if (!key) {
        return KeyFileStatus::KeyNotFound;
    }
    change(key);
    return save(path(id), doc);
}

std::string PlugKeyFile::defaultKeyFileText() {
    return documentText(defaultDocument());
}

} // namespace quilo
