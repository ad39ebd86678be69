#include "emulator/ZwaveFrames.h"

#include "device/Command.h"
#include "emulator/Replies.h"

#include <algorithm>

namespace quilo::zwave {

namespace {

constexpr std::size_t kFrameStart = 3;
constexpr std::size_t kMaxFrame = kReportSize - kFrameStart;

} // namespace

HostFrame parseHostFrame(const Report& report) {
    HostFrame f;
    const std::size_t total = report[2];
    if (total == 1) {
        const std::uint8_t b = report[kFrameStart];
        f.kind = b == kAck   ? HostFrame::Kind::Ack
                 : b == kNak ? HostFrame::Kind::Nak
                 : b == kCan ? HostFrame::Kind::Can
                             : HostFrame::Kind::Invalid;
        return f;
    }
    // SOF, length, type, function id, checksum at the least.
    if (total < 5 || total > kMaxFrame || report[kFrameStart] != kSof ||
        report[kFrameStart + 1] + 2u != total || report[kFrameStart + 2] != kRequest) {
        return f;
    }
    const std::size_t last = kFrameStart + total - 1; // checksum
    std::uint8_t sum = 0xFF;
    for (std::size_t i = kFrameStart + 1; i < last; ++i) {
        sum ^= report[i];
    }
    if (sum != report[last]) {
        return f;
    }
    f.kind = HostFrame::Kind::Data;
    f.payload.assign(report.begin() + kFrameStart + 3, report.begin() + last);
    return f;
}

Report controllerFrame(std::uint8_t type, std::span<const std::uint8_t> payload) {
    const std::size_t n = std::min(payload.size(), kMaxFrame - 4);
    Report r = replyOf(static_cast<std::uint8_t>(Command::ZwaveFrame));
    r[2] = static_cast<std::uint8_t>(n + 4);
    r[3] = kSof;
    r[4] = static_cast<std::uint8_t>(n + 2);
    r[5] = type;
    std::copy_n(payload.begin(), n, r.begin() + 6);
    std::uint8_t sum = 0xFF;
    for (std::size_t i = 4; i < 6 + n; ++i) {
        sum ^= r[i];
    }
    r[6 + n] = sum;
    return r;
}

Report controllerByte(std::uint8_t byte) {
    return replyOf(static_cast<std::uint8_t>(Command::ZwaveFrame), {1, byte});
}

} // namespace quilo::zwave
