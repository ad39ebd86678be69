#pragma once

#include "device/Command.h"
#include "device/Report.h"
#include "dsp/Biquad.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace quilo {

// Builders of every outbound report. They only format bytes; sending is the
// caller's business. Lengths beyond what a report can carry are cut to fit.

// 0x02, the code, the argument bytes, zeros to 61 bytes.
Report buildCommand(Command code, std::initializer_list<std::uint8_t> args = {});

// SetParam with distinct words (at most 13).
Report buildSetParam(int module, int param, std::span<const std::uint32_t> words);
// SetParam whose `count` words all carry the same word.
Report buildSetParamRepeated(int module, int param, std::uint32_t word, int count);
// SetParam with count 5 carrying one biquad as -a1, -a2, b0, b1, b2 in f32.
Report buildSetEqCoefficients(int module, int param, const BiquadCoefficients& c);
Report buildGetParam(int module, int param, int count);

Report buildWriteMemory(std::uint16_t address, std::span<const std::uint8_t> data);
Report buildReadMemory(std::uint16_t address, std::size_t length);
// A block of any length as 56-byte pieces at increasing addresses.
std::vector<Report> buildWriteMemoryBlock(std::uint16_t address,
                                          std::span<const std::uint8_t> data);
std::vector<Report> buildReadMemoryBlock(std::uint16_t address, std::size_t length);

// A Z-Wave serial-API request frame around `payload` (function id first).
Report buildZwaveFrame(std::span<const std::uint8_t> payload);
// What we return for every Z-Wave frame the controller sends us.
Report buildZwaveAck();
Report buildZwaveWriteMemory(std::uint16_t address, std::span<const std::uint8_t> data);
Report buildZwaveReadMemory(std::uint16_t address, std::size_t length);

Report buildSetMachineSettings(std::span<const std::uint8_t, 13> settings);
Report buildSetRemoteTable(std::span<const std::uint8_t, 18> table);

} // namespace quilo
