#pragma once

#include "device/Report.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quilo::zwave {

// Serial-API framing between the host and the Z-Wave module. A frame is
// SOF, length, type, payload (function id first), checksum; in a 0x12 report
// byte 2 holds the frame's total length and the frame starts at byte 3, in both
// directions. A lone ACK, NAK or CAN byte is a frame of length 1.

constexpr std::uint8_t kSof = 0x01;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kCan = 0x18;
constexpr std::uint8_t kRequest = 0x00;
constexpr std::uint8_t kResponse = 0x01;

constexpr std::uint8_t kGetInitData = 0x02;
constexpr std::uint8_t kApplicationCommand = 0x04;
constexpr std::uint8_t kSendData = 0x13;
constexpr std::uint8_t kSetDefault = 0x42;
constexpr std::uint8_t kAddNode = 0x4A;
constexpr std::uint8_t kRemoveNode = 0x4B;

constexpr std::uint8_t kBasicClass = 0x20;
constexpr std::uint8_t kBasicSet = 0x01;
constexpr std::uint8_t kBasicGet = 0x02;
constexpr std::uint8_t kBasicReport = 0x03;

struct HostFrame {
    enum class Kind { Ack, Nak, Can, Data, Invalid };
    Kind kind = Kind::Invalid;
    std::vector<std::uint8_t> payload; // function id first, checksum not included
};

// Checks the framing, type (request) and checksum of a ZwaveFrame report.
HostFrame parseHostFrame(const Report& report);

// A 0x12 report carrying one frame of the module.
Report controllerFrame(std::uint8_t type, std::span<const std::uint8_t> payload);
Report controllerByte(std::uint8_t byte); // ACK or NAK

} // namespace quilo::zwave
