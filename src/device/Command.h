#pragma once

#include <cstdint>

namespace quilo {

// Command codes of outbound reports (byte 1); replies carry the same code.
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
};

// Reply codes that arrive without a request of their own.
constexpr std::uint8_t kReplySecondFirmwareDate = 0x7E;
constexpr std::uint8_t kReplyModeName = 0xDB;

// Largest data piece of one memory report, and most words of one SetParam.
constexpr std::size_t kMemoryPieceSize = 56;
constexpr std::size_t kMaxParamWords = 13;

} // namespace quilo
