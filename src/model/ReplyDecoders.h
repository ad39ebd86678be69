#pragma once

#include "device/Report.h"
#include "model/DeviceImage.h"

#include <cstddef>
#include <string>

namespace quilo {

// The decoders of the replies that fill a block or a text of the image. Each
// reads only inside the report and writes only inside its own target.

// ASCII text from byte 2 up to a zero byte or the end of the report, one UTF-16
// unit per byte, cut to `capacity` units.
std::u16string decodeReplyText(const Report& report, std::size_t capacity);

// Memory reply (0x86): [2-3] address, [4] length, [5...] data. Returns whether
// a block took the data.
bool decodeMemoryReply(const Report& report, DeviceImage& image);

// Mode-name reply (0xDB): [2-3] address, [4] length in bytes, [5...] UTF-16BE.
// Returns whether a name was replaced.
bool decodeModeNameReply(const Report& report, DeviceImage& image);

// Capacities of the identity texts, in UTF-16 units.
constexpr std::size_t kModelNameUnits = 29;
constexpr std::size_t kFirmwareDateUnits = 10;

} // namespace quilo
