#include "model/ModeFile.h"

#include "model/AtomicWrite.h"
#include "model/FileRead.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace quilo {

namespace {

struct VersionLayout {
    std::size_t paramWords;
    std::size_t eqBytes;
    bool roomGain;
    bool roomLayout;
    bool micBoost;

    std::size_t size() const {
        return 4 + paramWords * 4 + eqBytes + (roomGain ? kRoomGainBlockSize : 0) +
               (roomLayout ? kRoomLayoutBlockSize : 0) + (micBoost ? kMicBoostWordSize : 0);
    }
};

// What each version of the file holds, by version 1-8.
constexpr std::array<VersionLayout, 8> kLayouts{{
    {196, 1246, false, false, false},
    {196, 1246, true, false, false},
    {199, 1246, true, false, false},
    {199, 1246, true, true, false},
    {207, 1246, true, true, false},
    {211, 1253, true, true, false},
    {216, 1253, true, true, false},
    {216, 1253, true, true, true},
}};

std::uint32_t readLe32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void appendLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

template <std::size_t N>
void append(std::vector<std::uint8_t>& out, const std::array<std::uint8_t, N>& block) {
    out.insert(out.end(), block.begin(), block.end());
}

// Reads one block from the cursor when the version holds it.
template <std::size_t N>
void take(const std::uint8_t*& at, std::array<std::uint8_t, N>& block, std::size_t n = N) {
    std::copy_n(at, n, block.begin());
    at += n;
}

bool isKnownSource(std::int32_t source) {
    return source == 0 || source == 2 || source == 3;
}

// A mode file is a couple of kilobytes; anything past this is not one of ours.

} // namespace

ModeContent captureModeContent(const DeviceImage& image) {
    return {image.params, image.eqBands, image.roomGain, image.roomLayout, image.micBoost};
}

void applyModeContent(const ModeContent& content, DeviceImage& image) {
    image.params = content.params;
    image.eqBands = content.eqBands;
    image.roomGain = content.roomGain;
    image.roomLayout = content.roomLayout;
    image.micBoost = content.micBoost;
}

std::vector<std::uint8_t> encodeModeFile(const ModeContent& content) {
    std::vector<std::uint8_t> out;
    out.reserve(kModeFileSize);
    appendLe32(out, kModeFileVersion);
    for (std::size_t w = 0; w < DspParams::kWords; ++w) {
        appendLe32(out, content.params.word(w));
    }
    append(out, content.eqBands);
    append(out, content.roomGain);
    append(out, content.roomLayout);
    append(out, content.micBoost);
    return out;
}

ModeFileResult decodeModeFile(std::span<const std::uint8_t> bytes, ModeContent& content) {
    ModeFileResult result;
    if (bytes.size() < 4) {
        result.status = ModeFileStatus::Truncated;
        return result;
    }
    result.version = readLe32(bytes.data());
    if (result.version < 1 || result.version > kLayouts.size()) {
        result.status = ModeFileStatus::UnsupportedVersion;
        return result;
    }
    const VersionLayout& layout = kLayouts[result.version - 1];
    if (bytes.size() < layout.size()) {
        // Half a setting pushed to a processor on stage is worse than none.
        result.status = ModeFileStatus::Truncated;
        return result;
    }

    ModeContent next = content;
    const std::uint8_t* at = bytes.data() + 4;
    for (std::size_t w = 0; w < layout.paramWords; ++w, at += 4) {
        next.params.setWord(w, readLe32(at));
    }
    if (!isKnownSource(next.params.musicSource)) {
        next.params.musicSource = 0;
    }
    take(at, next.eqBands, layout.eqBytes);
    if (layout.roomGain) {
        take(at, next.roomGain);
    }
    if (layout.roomLayout) {
        take(at, next.roomLayout);
    }
    if (layout.micBoost) {
        take(at, next.micBoost);
    }
    content = next;
    return result;
}

ModeFileResult readModeFileBytes(std::span<const std::uint8_t> bytes, DeviceImage& image) {
    ModeContent content = captureModeContent(image);
    const ModeFileResult result = decodeModeFile(bytes, content);
    if (result.ok()) {
        applyModeContent(content, image);
    }
    return result;
}

ModeFileResult readModeFile(const std::filesystem::path& path, DeviceImage& image) {
    std::vector<std::uint8_t> bytes;
    const std::error_code ec = readRegularFile(path, kMaxModeFileRead, bytes);
    return readModeFileFrom(ec, std::move(bytes), image);
}

ModeFileResult readModeFileFrom(std::error_code readError, std::vector<std::uint8_t> bytes,
                                DeviceImage& image) {
    if (readError) {
        ModeFileResult result;
        result.status = ModeFileStatus::CannotOpen;
        result.systemError = readError;
        return result;
    }
    bytes.resize(std::min(bytes.size(), kMaxModeFileRead));
    return readModeFileBytes(bytes, image);
}

ModeFileResult writeModeFile(const std::filesystem::path& path, const DeviceImage& image) {
    ModeFileResult result;
    result.version = kModeFileVersion;
    const std::vector<std::uint8_t> bytes = encodeModeFile(captureModeContent(image));
    SaveOutcome outcome;
    result.systemError = writeFileAtomically(path, bytes, &outcome);
    result.inPlace = outcome.inPlace;
    if (result.systemError) {
        result.status = ModeFileStatus::CannotWrite;
    }
    return result;
}

int modeSlotFromFileName(const std::filesystem::path& path) {
    const std::string stem = path.stem().string();
    if (stem.size() >= 2 && stem[0] == 'm' && stem[1] >= '1' && stem[1] <= '4') {
        return stem[1] - '1';
    }
    return -1;
}

std::string modeFileErrorText(const ModeFileResult& result, const std::filesystem::path& path,
                              int language) {
    const std::string file = path.string();
    const bool zh = language == 0;
    switch (result.status) {
    case ModeFileStatus::Ok:
        return {};
    case ModeFileStatus::CannotOpen:
        return zh ? "无法读取文件:\n" + file : "Can't read the file:\n" + file;
    case ModeFileStatus::UnsupportedVersion:
        return "Mode file version not support!";
    case ModeFileStatus::Truncated:
        return zh ? "文件不完整，未载入任何参数:\n" + file
                  : "The mode file is incomplete; nothing was loaded:\n" + file;
    case ModeFileStatus::CannotWrite: {
        char text[64];
        std::snprintf(text, sizeof text, "Errcode=%d,", result.systemError.value());
        return std::string(text) + "Can't write to file:\n" + file +
               "\nProbaby it is write protected.";
    }
    }
    return {};
}

} // namespace quilo
