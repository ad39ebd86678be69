#pragma once

#include "emulator/EmulatorState.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quilo {

class Emulator;

// The emulated processor's state on disk (`--emulate=FILE`). Binary, integers
// little-endian:
//   "QUILOEMU", u32 version (1), then these sections in this order, each a
//   4-character tag, a u32 length and that many bytes:
//     PARM  live parameters (parameter block)
//     MEMO  the 65536 bytes of processor memory (mode names included)
//     MODE  u8 current mode; four times a parameter block and 1307 bytes of
//           mode memory (addresses 0-1306)
//     MACH  the 13 machine-setting bytes
//     REMO  the 18-byte remote key table
//     ZMEM  the 6860 bytes of Z-Wave memory
//     PLUG  u8 count; per plug: kind (1 switch, 2 dimmer, 3 infrared), node id
//           (0 or 2-232), level, last level, u64 mask of learned infrared keys
//     END.  empty, the last bytes of the file
//   A parameter block is a u16 count and per parameter: module, parameter, word
//   count n (as the factory table has it) and n u32 words. A parameter the file
//   lacks keeps its factory words.
constexpr std::uint32_t kEmulatorFileVersion = 1;

enum class EmulatorFileStatus { Ok, Missing, CannotRead, Malformed, CannotWrite };

struct EmulatorFileResult {
    EmulatorFileStatus status = EmulatorFileStatus::Ok;
    std::string error; // what went wrong, for the user and the log
    bool ok() const { return status == EmulatorFileStatus::Ok; }
};

std::vector<std::uint8_t> encodeEmulatorState(const EmulatorState& state);
// The state the bytes hold, or nullopt with `error` saying what is wrong.
std::optional<EmulatorState> decodeEmulatorState(std::span<const std::uint8_t> bytes,
                                                 std::string& error);

// Loads into the emulator only when the whole file is good; otherwise the
// emulator keeps its state. A file that does not exist reports Missing.
EmulatorFileResult loadEmulatorFile(const std::filesystem::path& path, Emulator& emulator);
// Writes without destroying the previous file on failure.
EmulatorFileResult saveEmulatorFile(const std::filesystem::path& path, const EmulatorState& state);

} // namespace quilo
