// Writes the seed inputs of every fuzz target into corpus/<target>/seed-*: files
// as the program writes them (mode files, presets, remote files, key files,
// emulator state files, exported filter texts), replies recorded from the
// emulated processor, the embedded language tables, and the tool's examples.
//   quilo_fuzz_seeds SOURCE_ROOT
// Run again after a change of a format; the files the fuzzer added stay.
#include "device/RecordedReplies.h"
#include "device/RecordingSink.h"
#include "device/ReportBuilder.h"
#include "emulator/EmulatorFile.h"
#include "emulator/EmulatorHarness.h"
#include "model/BandOps.h"
#include "model/EqImport.h"
#include "model/FieldSetters.h"
#include "model/ModeFile.h"
#include "model/Presets.h"
#include "remote/RemoteFile.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/PlugKeyFile.h"
#include "support/EmulatedNetwork.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace quilo;
using namespace quilo::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

fs::path g_corpus;

fs::path seedPath(const std::string& target, const std::string& name) {
    const fs::path folder = g_corpus / target;
    fs::create_directories(folder);
    return folder / ("seed-" + name);
}

void put(const std::string& target, const std::string& name, std::string_view bytes) {
    std::ofstream(seedPath(target, name), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void put(const std::string& target, const std::string& name,
         const std::vector<std::uint8_t>& bytes) {
    put(target, name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void putReports(const std::string& target, const std::string& name,
                const std::vector<Report>& reports) {
    std::vector<std::uint8_t> bytes;
    for (const Report& r : reports) {
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    put(target, name, bytes);
}

std::unique_ptr<DeviceImage> factoryImage() {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    return image;
}

// A setting a user could have made: levels, delays, a few bands, room data.
std::unique_ptr<DeviceImage> editedImage() {
    auto image = factoryImage();
    RecordingSink sink;
    FieldSetters setters(*image, sink);
    setters.set(&DspParams::micVolume, 72);
    setters.set(&DspParams::musicVolume, 45);
    setters.set(&DspParams::outDelayMs, 2, 3.5);
    setters.set(&DspParams::echoTimeMsA, 180);
    setters.setMicBoost(-6);
    setters.setRoomGain(4, -2.5f);
    BandOps bands(*image, sink);
    bands.applyBand(0, 2, 1, -4.5f, 250.0f, 2.0f);
    bands.applyBand(6, 0, 4, 3.0f, 90.0f, 0.7f);
    bands.applyBand(7, 9, 12, 0.0f, 80.0f, 0.707f);
    image->roomLayout[0] = 5;
    image->roomLayout[1] = 4;
    return image;
}

// The layouts the program's earlier versions wrote, by version 1-7: parameter
// words, band-store bytes, and whether room gain, room layout and boost follow.
struct OldLayout {
    std::size_t words;
    std::size_t eqBytes;
    bool gain, layout, boost;
};
constexpr std::array<OldLayout, 7> kOldLayouts{{{196, 1246, false, false, false},
                                                {196, 1246, true, false, false},
                                                {199, 1246, true, false, false},
                                                {199, 1246, true, true, false},
                                                {207, 1246, true, true, false},
                                                {211, 1253, true, true, false},
                                                {216, 1253, true, true, false}}};

std::vector<std::uint8_t> olderModeFile(const DeviceImage& image, std::uint32_t version) {
    const std::vector<std::uint8_t> v8 = encodeModeFile(captureModeContent(image));
    const OldLayout& l = kOldLayouts[version - 1];
    std::vector<std::uint8_t> out{std::uint8_t(version), 0, 0, 0};
    const auto at = [&v8](std::size_t offset) { return v8.begin() + std::ptrdiff_t(offset); };
    out.insert(out.end(), at(4), at(4 + 4 * l.words));
    std::size_t block = 4 + 4 * DspParams::kWords;
    out.insert(out.end(), at(block), at(block + l.eqBytes));
    block += kEqBandStoreSize;
    const std::array<std::pair<bool, std::size_t>, 3> tail{
        {{l.gain, kRoomGainBlockSize}, {l.layout, kRoomLayoutBlockSize}, {l.boost, 2}}};
    for (const auto& [present, size] : tail) {
        if (present) {
            out.insert(out.end(), at(block), at(block + size));
        }
        block += size;
    }
    return out;
}

void modeFiles() {
    const auto factory = factoryImage();
    const auto edited = editedImage();
    writeModeFile(seedPath("mode_file", "factory.quilo"), *factory);
    writeModeFile(seedPath("mode_file", "edited.quilo"), *edited);
    for (std::uint32_t v = 1; v < kModeFileVersion; ++v) {
        put("mode_file", "edited-v" + std::to_string(v) + ".quilo", olderModeFile(*edited, v));
    }
    for (int i : {0, 4, 9, 14}) {
        put("mode_file", "preset" + std::to_string(i) + ".quilo", presetModeFile(i));
    }
}

void inboundReplies() {
    const std::vector<Report> replies = recordedReplies();
    constexpr std::size_t kPerSeed = 16;
    for (std::size_t first = 0; first < replies.size(); first += kPerSeed) {
        const auto begin = replies.begin() + std::ptrdiff_t(first);
        const auto end =
            replies.begin() + std::ptrdiff_t(std::min(first + kPerSeed, replies.size()));
        putReports("inbound", "readback-" + std::to_string(first / kPerSeed), {begin, end});
    }
}

// Z-Wave frames and memory replies of the emulated module, one seed per exchange.
void zwaveReplies() {
    const std::vector<PlugKind> plugs{PlugKind::Switch, PlugKind::Dimmer, PlugKind::Infrared};
    EmulatorHarness h(instantEmulator(plugs));
    h.emulator.restore(networkState(plugs));
    const auto record = [&h](const std::string& name, const std::vector<Report>& requests) {
        std::vector<Report> replies;
        for (const Report& r : requests) {
            for (const Report& x : h.send(r)) {
                replies.push_back(x);
            }
            for (const Report& x : h.advance(5s)) {
                replies.push_back(x);
            }
        }
        putReports("zwave", name, replies);
    };
    record("node-list", {buildGetInitData()});
    std::vector<Report> reads;
    for (std::uint16_t address = 0; address < 6860; address += 980) {
        reads.push_back(buildZwaveReadMemory(address, kMemoryPieceSize));
    }
    reads.push_back(buildZwaveReadMemory(6524, kMemoryPieceSize));
    record("memory", reads);
    record("basic-set",
           {buildSendBasicSet(2, 99), buildSendBasicSet(3, 40), buildSendBasicSet(4, 0x80 + 5)});
    h.emulator.setButtonTarget(0);
    record("exclusion", {buildRemoveNodeStart(), buildRemoveNodeStop(RemoveStop::AfterRemoval)});
    h.emulator.setButtonTarget(0);
    record("inclusion", {buildAddNodeStart(), buildAddNodeStop()});
    record("reset", {buildSetDefault()});
}

void remoteFiles() {
    RemoteKeyTable table{};
    saveRemoteFile(seedPath("remote_file", "empty-table.remo"), table);
    for (std::size_t k = 1; k < table.size(); ++k) {
        table[k] = static_cast<std::uint8_t>(0x10 + 7 * k);
    }
    saveRemoteFile(seedPath("remote_file", "learned.remo"), table);
    put("remote_file", "short.remo", std::vector<std::uint8_t>{0x00, 0x2C, 0x31});
    put("remote_file", "one-byte.remo", std::vector<std::uint8_t>{0x2C});
    // Longer than a table: only its first bytes count.
    std::vector<std::uint8_t> longer(table.begin(), table.end());
    longer.resize(4096, 0x5A);
    put("remote_file", "longer.remo", longer);
}

void keyFiles() {
    const fs::path folder = fs::temp_directory_path() / "quilo-seed-keys";
    fs::remove_all(folder);
    const PlugKeyFile keys(folder);
    keys.createKeyFile(2);
    fs::copy_file(keys.path(2), seedPath("plug_key_file", "default.xml"),
                  fs::copy_options::overwrite_existing);
    keys.setKeyName(2, 0, "电视开关");
    keys.setKeyStatus(2, 0, 1);
    keys.setKeyName(2, 5, "Vol + & \"loud\" <max>");
    keys.setKeyStatus(2, 5, 1);
    keys.setKeyName(2, 62, "Line\none");
    fs::copy_file(keys.path(2), seedPath("plug_key_file", "learned.xml"),
                  fs::copy_options::overwrite_existing);
    fs::remove_all(folder);
}

void languageTables(const fs::path& root) {
    for (const char* name : {"en.ini", "zh_CN.ini"}) {
        fs::copy_file(root / "resources/lang" / name, seedPath("language_table", name),
                      fs::copy_options::overwrite_existing);
    }
}

// One file only: a state file is about 100 KB, and this one holds every section.
void emulatorStates() {
    const std::vector<PlugKind> plugs{PlugKind::Switch, PlugKind::Dimmer, PlugKind::Infrared};
    EmulatorState s = networkState(plugs);
    s.currentMode = 2;
    s.plugs[1].level = 40;
    s.plugs[2].learnedKeys = 0x21;
    s.remoteTable[3] = 0x2C;
    saveEmulatorFile(seedPath("emulator_file", "network.emu"), s);

    // Whole files refused at their very end, each for a reason of its own, so
    // that the fuzzer starts from every refusal the reader has.
    const auto refused = [](const std::string& name, EmulatorState state) {
        put("emulator_file", name, encodeEmulatorState(state));
    };
    EmulatorState bad = s;
    bad.plugs[0].kind = static_cast<PlugKind>(7);
    refused("plug-kind.emu", bad);
    bad = s;
    bad.plugs[1].nodeId = 1; // the controller's own id
    refused("plug-node-one.emu", bad);
    bad = s;
    bad.plugs[2].nodeId = bad.plugs[0].nodeId;
    refused("plug-node-twice.emu", bad);
    bad = s;
    bad.currentMode = 9;
    refused("mode.emu", bad);
    // One stray byte after the end.
    std::vector<std::uint8_t> bytes = encodeEmulatorState(s);
    bytes.push_back(0);
    put("emulator_file", "stray-byte.emu", bytes);
    // The last section's length one too many.
    bytes = encodeEmulatorState(s);
    bytes[bytes.size() - 4] = 1;
    put("emulator_file", "end-length.emu", bytes);
    // No plugs at all, the factory state.
    EmulatorState none = s;
    none.plugs.clear();
    saveEmulatorFile(seedPath("emulator_file", "no-plugs.emu"), none);
}

void filterTexts() {
    const auto edited = editedImage();
    put("eq_filter_text", "mic-a.txt", exportEqFilterText(*edited, 0));
    put("eq_filter_text", "music.txt", exportEqFilterText(*edited, 6));
    auto preset = factoryImage();
    readModeFileBytes(presetModeFile(4), *preset);
    put("eq_filter_text", "preset-out1.txt", exportEqFilterText(*preset, 7));
    // As measurement programs lay them out: a header, notes, a preamp, padded
    // columns, filters numbered or not, off and empty filters, CR LF.
    put("eq_filter_text", "measured.txt",
        "Filter Settings file\r\n\r\nNotes: living room, left speaker\r\n\r\n"
        "Equaliser: Generic\r\nAverages 1\r\nPreamp: -6.2 dB\r\n"
        "Filter  1: ON  PK       Fc    63.0 Hz  Gain  -5.0 dB  Q  4.00\r\n"
        "Filter  2: ON  LSC      Fc   105   Hz  Gain   3.5 dB  Q  0.71\r\n"
        "Filter  3: OFF HPQ      Fc    30   Hz  Q 0.71\r\n"
        "Filter  4: ON  None\r\n"
        "Filter  5: ON  PEQ      Fc  2500 Hz  Gain  -2.5 dB  Q 1.41\r\n");
    put("eq_filter_text", "headphone.txt",
        "Preamp: -3.1 dB\nFilter: ON LS Fc 105 Hz Gain 2.9 dB Q 0.70\n"
        "Filter: ON PK Fc 3350 Hz Gain -3.2 dB Q 2.10\n"
        "Filter: ON HS Fc 10000Hz Gain 1.5dB Q 0.70\n"
        "Filter: ON LP Fc 18000 Hz\n");
}

// The examples of the tool's manual, one argument a line.
void toolArguments() {
    const std::array<std::pair<const char*, const char*>, 10> examples{{
        {"biquad", "biquad\n1\n6\n1000\n1.414"},
        {"biquad-crossover", "biquad\n12\n0\n80\n0.707\n-3"},
        {"send", "send\nmicVolume\n50"},
        {"send-array", "send\noutDelayMs[2]\n1.0"},
        {"send-boost", "send\nmicBoost\n12"},
        {"send-room", "send\nroomGain[3]\n-2.5"},
        {"band", "band\n7\n0\n1\n-3\n1000\n1.414"},
        {"room", "room\n5\n4\n0\n0\n-1\n1\n0\n1\n1\n1\n-1\n-1\n0\n-1\n1\n-1\n-0.5\n0\n9\n0"},
        {"decode", "decode\n02 86 01 96 07 00 78 03 E8 05 86 02"},
        {"frame", "frame\nSendBasicSet\n5\n99"},
    }};
    for (const auto& [name, text] : examples) {
        put("cli_args", name, text);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quilo_fuzz_seeds SOURCE_ROOT\n");
        return 2;
    }
    const fs::path root = argv[1];
    g_corpus = root / "tests/fuzz/corpus";
    modeFiles();
    inboundReplies();
    zwaveReplies();
    remoteFiles();
    keyFiles();
    languageTables(root);
    emulatorStates();
    filterTexts();
    toolArguments();
    return 0;
}
