#pragma once

#include "model/DeviceImage.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace quilo {

// A complete processor setting as a ".quilo" mode file: the version (u32 LE),
// DspParams words (LE), then the band store, room gain, room layout and boost word
// exactly as in processor memory. Version 8 is written; versions 1-8 are read.
constexpr std::uint32_t kModeFileVersion = 8;
constexpr std::size_t kModeFileSize = 2175;

// The part of the image a mode file carries.
struct ModeContent {
    DspParams params{};
    EqBandStore eqBands{};
    RoomGainBlock roomGain{};
    RoomLayoutBlock roomLayout{};
    MicBoostWord micBoost{};
};

ModeContent captureModeContent(const DeviceImage& image);
void applyModeContent(const ModeContent& content, DeviceImage& image);

enum class ModeFileStatus { Ok, CannotOpen, UnsupportedVersion, Truncated, CannotWrite };

struct ModeFileResult {
    ModeFileStatus status = ModeFileStatus::Ok;
    std::uint32_t version = 0;   // the version found in the file, when read
    std::error_code systemError; // for CannotOpen and CannotWrite
    bool inPlace = false;        // saved over the old bytes: the folder takes no new file
    bool ok() const { return status == ModeFileStatus::Ok; }
};

std::vector<std::uint8_t> encodeModeFile(const ModeContent& content);

// Decodes a file of any supported version over `content`: what an older version
// does not hold keeps its value. On any failure `content` is left as it was.
ModeFileResult decodeModeFile(std::span<const std::uint8_t> bytes, ModeContent& content);

// Loads into the image only when the whole file is good.
ModeFileResult readModeFile(const std::filesystem::path& path, DeviceImage& image);
// The same for bytes read elsewhere (at most kMaxModeFileRead + 1 of them, from
// standard input, say): a read that failed is CannotOpen with its error.
constexpr std::size_t kMaxModeFileRead = 1 << 20;
ModeFileResult readModeFileFrom(std::error_code readError, std::vector<std::uint8_t> bytes,
                                DeviceImage& image);
ModeFileResult readModeFileBytes(std::span<const std::uint8_t> bytes, DeviceImage& image);

// Writes version 8 without ever destroying the previous file on failure.
ModeFileResult writeModeFile(const std::filesystem::path& path, const DeviceImage& image);

// Stored mode 0-3 named by a file name starting with "m1".."m4", else -1.
int modeSlotFromFileName(const std::filesystem::path& path);

// The message the user sees for a failed read or write (language 0 Chinese, 1 English).
std::string modeFileErrorText(const ModeFileResult& result, const std::filesystem::path& path,
                              int language);

} // namespace quilo
