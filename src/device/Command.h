#pragma once

#include <cstdint>

namespace quilo {

// Codes of byte 1: of every outbound report and of the processor's replies, which
// carry the code of the request they answer; the last two come only as replies.
enum class Command : std::uint8_t {
    SetCurrentMode = 0x03,
    SaveMode = 0x04,
    LoadMode = 0x05,
    ResetMode = 0x06,
    GetCurrentMode = 0x07,
    SetParam = 0x09,
    GetParam = 0x0A,
    PollStatus = 0x0E,
    ZwaveFrame = 0x12,
    ZwaveWriteMemory = 0x13,
    ZwaveReadMemory = 0x14,
    LearnKey = 0x60,
    StopLearn = 0x61,
    GetRemoteTable = 0x62,
    SetRemoteTable = 0x63,
    ResetMachine = 0x68,
    GetProtocolVersion = 0x7F,
    GetModel = 0x80,
    GetFirmwareDate = 0x81,
    WriteMemory = 0x85,
    ReadMemory = 0x86,
    Goodbye = 0x8A,
    SetMachineSettings = 0x91,
    GetMachineSettings = 0x92,
    GetModeNames = 0x95,
    FirmwareDateB = 0x7E, // the second firmware date, after GetFirmwareDate's reply
    ModeName = 0xDB,      // one stored mode's name, after GetModeNames
};

constexpr std::uint8_t codeByte(Command code) {
    return static_cast<std::uint8_t>(code);
}

// Largest data piece of one memory report, and most words of one SetParam.
constexpr std::size_t kMemoryPieceSize = 56;
constexpr std::size_t kMaxParamWords = 13;

} // namespace quilo
