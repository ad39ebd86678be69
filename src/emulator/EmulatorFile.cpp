#include "emulator/EmulatorFile.h"

#include "emulator/Emulator.h"
#include "emulator/FactorySettings.h"
#include "model/AtomicWrite.h"
#include "model/FileRead.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <set>
#include <string_view>

namespace quilo {

namespace {

constexpr std::string_view kMagic = "QUILOEMU";
constexpr std::size_t kPlugRecordSize = 12;
constexpr std::size_t kMaxFileSize = 4u << 20; // a state file is about 110 KB

// ---- writing ----

class Writer {
public:
    void bytes(std::span<const std::uint8_t> b) { m_out.insert(m_out.end(), b.begin(), b.end()); }
    void u8(std::uint8_t v) { m_out.push_back(v); }
    void le(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) {
            m_out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    void text(std::string_view s) { m_out.insert(m_out.end(), s.begin(), s.end()); }

    // Starts a section; its length is filled in by end().
    void begin(std::string_view tag) {
        text(tag);
        m_lengthAt = m_out.size();
        le(0, 4);
    }
    void end() {
        const std::size_t n = m_out.size() - m_lengthAt - 4;
        for (int i = 0; i < 4; ++i) {
            m_out[m_lengthAt + i] = static_cast<std::uint8_t>(n >> (8 * i));
        }
    }

    void params(const ParamMap& params) {
        le(params.size(), 2);
        for (const auto& [key, words] : params) {
            u8(key.module);
            u8(key.param);
            u8(static_cast<std::uint8_t>(words.size()));
            for (std::uint32_t w : words) {
                le(w, 4);
            }
        }
    }

    std::vector<std::uint8_t> take() { return std::move(m_out); }

private:
    std::vector<std::uint8_t> m_out;
    std::size_t m_lengthAt = 0;
};

// ---- reading ----

// A cursor that records the first problem and then reads zeros.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool failed() const { return !m_error.empty(); }
    const std::string& error() const { return m_error; }
    void fail(std::string message) {
        if (m_error.empty()) {
            m_error = std::move(message);
        }
    }
    std::size_t left() const { return m_bytes.size() - m_at; }

    std::span<const std::uint8_t> take(std::size_t n) {
        if (failed() || n > left()) {
            fail("the file is truncated" + where());
            return {};
        }
        auto s = m_bytes.subspan(m_at, n);
        m_at += n;
        return s;
    }
    std::uint64_t le(int n) {
        auto s = take(static_cast<std::size_t>(n));
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            v |= std::uint64_t{s[i]} << (8 * i);
        }
        return v;
    }
    std::uint8_t u8() { return static_cast<std::uint8_t>(le(1)); }

    // Enters the section `tag`; returns its length.
    std::size_t section(std::string_view tag) {
        auto t = take(4);
        if (failed()) {
            return 0;
        }
        if (!std::equal(t.begin(), t.end(), tag.begin())) {
            fail("section " + std::string(tag) + " is missing");
            return 0;
        }
        m_section = std::string(tag);
        const auto n = static_cast<std::size_t>(le(4));
        if (!failed() && n > left()) {
            fail("the file is truncated" + where());
        }
        return n;
    }
    void expectLength(std::size_t n, std::size_t expected) {
        if (!failed() && n != expected) {
            fail("section " + m_section + " holds " + std::to_string(n) + " bytes instead of " +
                 std::to_string(expected));
        }
    }
    std::string where() const { return m_section.empty() ? "" : " in section " + m_section; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    std::string m_error;
    std::string m_section;
};

std::string keyText(ParamKey key) {
    return "parameter " + std::to_string(key.module) + "/" + std::to_string(key.param);
}

ParamMap readParams(Reader& in) {
    ParamMap params = factoryParams();
    std::set<ParamKey> seen;
    const auto count = static_cast<std::size_t>(in.le(2));
    for (std::size_t i = 0; i < count && !in.failed(); ++i) {
        const ParamKey key{in.u8(), in.u8()};
        const std::size_t n = in.u8();
        if (in.failed()) {
            break;
        }
        auto it = params.find(key);
        if (it == params.end()) {
            in.fail(keyText(key) + " does not exist");
        } else if (n != it->second.size()) {
            in.fail(keyText(key) + " has " + std::to_string(n) + " words instead of " +
                    std::to_string(it->second.size()));
        } else if (!seen.insert(key).second) {
            in.fail(keyText(key) + " appears twice");
        }
        if (in.failed()) {
            break;
        }
        for (std::uint32_t& w : it->second) {
            w = static_cast<std::uint32_t>(in.le(4));
        }
    }
    return params;
}

template <typename Range> void readInto(Reader& in, std::size_t expected, Range& out) {
    auto b = in.take(expected);
    if (!in.failed()) {
        std::copy(b.begin(), b.end(), std::begin(out));
    }
}

bool validPlug(const PlugState& p, std::string& why) {
    const auto kind = static_cast<int>(p.kind);
    if (kind < 1 || kind > 3) {
        why = "a plug has the unknown kind " + std::to_string(kind);
        return false;
    }
    if (p.nodeId == 1 || p.nodeId > 232) {
        why = "a plug has the node id " + std::to_string(p.nodeId);
        return false;
    }
    return true;
}

void readPlugs(Reader& in, std::size_t length, std::vector<PlugState>& plugs) {
    const std::size_t count = in.u8();
    in.expectLength(length, 1 + count * kPlugRecordSize);
    std::set<int> nodes;
    for (std::size_t i = 0; i < count && !in.failed(); ++i) {
        PlugState p;
        p.kind = static_cast<PlugKind>(in.u8());
        p.nodeId = in.u8();
        p.level = in.u8();
        p.lastOnLevel = in.u8();
        p.learnedKeys = in.le(8);
        std::string why;
        if (in.failed()) {
            break;
        }
        if (!validPlug(p, why)) {
            in.fail(why);
        } else if (p.nodeId != 0 && !nodes.insert(p.nodeId).second) {
            in.fail("two plugs have the node id " + std::to_string(p.nodeId));
        }
        plugs.push_back(p);
    }
}

} // namespace

std::vector<std::uint8_t> encodeEmulatorState(const EmulatorState& s) {
    Writer out;
    out.text(kMagic);
    out.le(kEmulatorFileVersion, 4);
    out.begin("PARM");
    out.params(s.params);
    out.end();
    out.begin("MEMO");
    out.bytes(s.memory);
    out.end();
    out.begin("MODE");
    out.u8(s.currentMode);
    for (const StoredMode& mode : s.modes) {
        out.params(mode.params);
        out.bytes(mode.memory);
    }
    out.end();
    out.begin("MACH");
    out.bytes(s.machine);
    out.end();
    out.begin("REMO");
    out.bytes(s.remoteTable);
    out.end();
    out.begin("ZMEM");
    out.bytes(s.zwaveMemory);
    out.end();
    out.begin("PLUG");
    out.u8(static_cast<std::uint8_t>(std::min<std::size_t>(s.plugs.size(), 255)));
    for (std::size_t i = 0; i < s.plugs.size() && i < 255; ++i) {
        const PlugState& p = s.plugs[i];
        out.u8(static_cast<std::uint8_t>(p.kind));
        out.u8(p.nodeId);
        out.u8(p.level);
        out.u8(p.lastOnLevel);
        out.le(p.learnedKeys, 8);
    }
    out.end();
    out.begin("END.");
    out.end();
    return out.take();
}

std::optional<EmulatorState> decodeEmulatorState(std::span<const std::uint8_t> bytes,
                                                 std::string& error) {
    Reader in(bytes);
    const auto magic = in.take(kMagic.size());
    if (in.failed() || !std::equal(magic.begin(), magic.end(), kMagic.begin())) {
        error = "not an emulator state file";
        return std::nullopt;
    }
    const auto version = in.le(4);
    if (!in.failed() && version != kEmulatorFileVersion) {
        error = "unsupported emulator state version " + std::to_string(version);
        return std::nullopt;
    }

    EmulatorState s;
    s.memory.resize(kProcessorMemorySize);
    s.zwaveMemory.resize(kZwaveMemorySize);

    const auto checked = [&in](std::size_t start, std::size_t length) {
        if (!in.failed() && start - in.left() != length) {
            in.fail("section length does not match its content" + in.where());
        }
    };

    std::size_t n = in.section("PARM");
    std::size_t start = in.left();
    s.params = readParams(in);
    checked(start, n);

    n = in.section("MEMO");
    in.expectLength(n, kProcessorMemorySize);
    readInto(in, kProcessorMemorySize, s.memory);

    n = in.section("MODE");
    start = in.left();
    s.currentMode = in.u8();
    if (!in.failed() && s.currentMode >= kEmulatorModes) {
        in.fail("the current mode " + std::to_string(s.currentMode) + " does not exist");
    }
    for (StoredMode& mode : s.modes) {
        mode.params = readParams(in);
        mode.memory.resize(kModeMemorySize);
        readInto(in, kModeMemorySize, mode.memory);
    }
    checked(start, n);

    n = in.section("MACH");
    in.expectLength(n, kMachineSettingsSize);
    readInto(in, kMachineSettingsSize, s.machine);

    n = in.section("REMO");
    in.expectLength(n, kRemoteKeyTableSize);
    readInto(in, kRemoteKeyTableSize, s.remoteTable);

    n = in.section("ZMEM");
    in.expectLength(n, kZwaveMemorySize);
    readInto(in, kZwaveMemorySize, s.zwaveMemory);

    n = in.section("PLUG");
    readPlugs(in, n, s.plugs);

    n = in.section("END.");
    in.expectLength(n, 0);
    if (!in.failed() && in.left() != 0) {
        in.fail(std::to_string(in.left()) + " stray bytes after the end");
    }
    if (in.failed()) {
        error = in.error();
        return std::nullopt;
    }
    return s;
}

EmulatorFileResult loadEmulatorFile(const std::filesystem::path& path, Emulator& emulator) {
    std::vector<std::uint8_t> bytes;
    if (const std::error_code ec = readRegularFile(path, kMaxFileSize, bytes)) {
        if (ec == std::errc::no_such_file_or_directory) {
            return {EmulatorFileStatus::Missing, "no emulator state file at " + path.string()};
        }
        return {EmulatorFileStatus::CannotRead,
                "cannot read " + path.string() + ": " + ec.message()};
    }
    if (bytes.size() > kMaxFileSize) {
        return {EmulatorFileStatus::Malformed, path.string() + ": too large for a state file"};
    }
    std::string error;
    auto state = decodeEmulatorState(bytes, error);
    if (!state) {
        return {EmulatorFileStatus::Malformed, path.string() + ": " + error};
    }
    emulator.restore(std::move(*state));
    return {};
}

EmulatorFileResult saveEmulatorFile(const std::filesystem::path& path, const EmulatorState& state) {
    const auto bytes = encodeEmulatorState(state);
    if (auto ec = writeFileAtomically(path, bytes)) {
        return {EmulatorFileStatus::CannotWrite,
                "cannot write " + path.string() + ": " + ec.message()};
    }
    return {};
}

} // namespace quilo
