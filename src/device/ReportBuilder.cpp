#include "device/ReportBuilder.h"

#include "device/BigEndian.h"
#include "device/WireValue.h"

#include <algorithm>

namespace quilo {

namespace {

Report frame(Command code) {
    Report r{};
    r[0] = kReportId;
    r[1] = static_cast<std::uint8_t>(code);
    return r;
}

void putAddress(Report& r, std::uint16_t address) {
    writeU16(r, 2, address);
}

Report memoryWrite(Command code, std::uint16_t address, std::span<const std::uint8_t> data) {
    Report r = frame(code);
    const std::size_t n = std::min(data.size(), kMemoryPieceSize);
    putAddress(r, address);
    r[4] = static_cast<std::uint8_t>(n);
    std::copy_n(data.begin(), n, r.begin() + 5);
    return r;
}

Report memoryRead(Command code, std::uint16_t address, std::size_t length) {
    Report r = frame(code);
    putAddress(r, address);
    r[4] = static_cast<std::uint8_t>(std::min(length, kMemoryPieceSize));
    return r;
}

} // namespace

Report buildCommand(Command code, std::initializer_list<std::uint8_t> args) {
    Report r = frame(code);
    std::copy_n(args.begin(), std::min(args.size(), kReportSize - 2), r.begin() + 2);
    return r;
}

Report buildSetParam(int module, int param, std::span<const std::uint32_t> words) {
    Report r = frame(Command::SetParam);
    const std::size_t n = std::min(words.size(), kMaxParamWords);
    r[3] = static_cast<std::uint8_t>(module);
    r[4] = static_cast<std::uint8_t>(param);
    r[5] = static_cast<std::uint8_t>(n);
    for (std::size_t i = 0; i < n; ++i) {
        writeU32(r, 6 + 4 * i, words[i]);
    }
    return r;
}

Report buildSetParamRepeated(int module, int param, std::uint32_t word, int count) {
    std::array<std::uint32_t, kMaxParamWords> words{};
    const auto n = static_cast<std::size_t>(std::clamp(count, 0, int(kMaxParamWords)));
    std::fill_n(words.begin(), n, word);
    return buildSetParam(module, param, std::span(words.data(), n));
}

Report buildSetEqCoefficients(int module, int param, const BiquadCoefficients& c) {
    const std::array<std::uint32_t, 5> words{f32Bits(-c.a1), f32Bits(-c.a2), f32Bits(c.b0),
                                             f32Bits(c.b1), f32Bits(c.b2)};
    return buildSetParam(module, param, words);
}

Report buildGetParam(int module, int param, int count) {
    return buildCommand(Command::GetParam,
                        {0, static_cast<std::uint8_t>(module), static_cast<std::uint8_t>(param),
                         static_cast<std::uint8_t>(count)});
}

Report buildWriteMemory(std::uint16_t address, std::span<const std::uint8_t> data) {
    return memoryWrite(Command::WriteMemory, address, data);
}

Report buildReadMemory(std::uint16_t address, std::size_t length) {
    return memoryRead(Command::ReadMemory, address, length);
}

std::vector<Report> buildWriteMemoryBlock(std::uint16_t address,
                                          std::span<const std::uint8_t> data) {
    std::vector<Report> pieces;
    for (std::size_t at = 0; at < data.size(); at += kMemoryPieceSize) {
        const std::size_t n = std::min(kMemoryPieceSize, data.size() - at);
        pieces.push_back(
            buildWriteMemory(static_cast<std::uint16_t>(address + at), data.subspan(at, n)));
    }
    return pieces;
}

std::vector<Report> buildReadMemoryBlock(std::uint16_t address, std::size_t length) {
    std::vector<Report> pieces;
    for (std::size_t at = 0; at < length; at += kMemoryPieceSize) {
        pieces.push_back(buildReadMemory(static_cast<std::uint16_t>(address + at),
                                         std::min(kMemoryPieceSize, length - at)));
    }
    return pieces;
}

Report buildZwaveFrame(std::span<const std::uint8_t> payload) {
    // [3] start of frame, [4] length, [5] request type, payload, checksum: the
    // payload may use what is left of the report after those five bytes.
    constexpr std::size_t kMaxPayload = kReportSize - 7;
    const std::size_t n = std::min(payload.size(), kMaxPayload);
    Report r = frame(Command::ZwaveFrame);
    r[2] = static_cast<std::uint8_t>(n + 4);
    r[3] = 0x01;
    r[4] = static_cast<std::uint8_t>(n + 2);
    r[5] = 0x00;
    std::copy_n(payload.begin(), n, r.begin() + 6);
    std::uint8_t checksum = 0xFF;
    for (std::size_t i = 4; i < 6 + n; ++i) {
        checksum ^= r[i];
    }
    r[6 + n] = checksum;
    return r;
}

Report buildZwaveAck() {
    return buildCommand(Command::ZwaveFrame, {0x01, 0x06});
}

Report buildZwaveWriteMemory(std::uint16_t address, std::span<const std::uint8_t> data) {
    return memoryWrite(Command::ZwaveWriteMemory, address, data);
}

Report buildZwaveReadMemory(std::uint16_t address, std::size_t length) {
    return memoryRead(Command::ZwaveReadMemory, address, length);
}

Report buildSetMachineSettings(std::span<const std::uint8_t, 13> settings) {
    Report r = frame(Command::SetMachineSettings);
    std::copy(settings.begin(), settings.end(), r.begin() + 2);
    return r;
}

Report buildSetRemoteTable(std::span<const std::uint8_t, 18> table) {
    Report r = frame(Command::SetRemoteTable);
    std::copy(table.begin(), table.end(), r.begin() + 2);
    return r;
}

} // namespace quilo
