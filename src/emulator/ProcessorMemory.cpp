#include "emulator/ProcessorMemory.h"

#include "device/BigEndian.h"
#include "device/Command.h"
#include "emulator/Replies.h"
#include "model/DeviceImage.h"

#include <algorithm>

namespace quilo {

namespace {

// How many of `wanted` bytes fit at `address`.
std::size_t fitting(std::size_t size, std::size_t address, std::size_t wanted) {
    if (address >= size) {
        return 0;
    }
    return std::min({wanted, kMemoryPieceSize, size - address});
}

} // namespace

Report applyMemoryWrite(std::span<std::uint8_t> memory, const Report& request) {
    const std::uint16_t address = readU16(request, 2);
    const std::size_t n = fitting(memory.size(), address, request[4]);
    std::copy_n(request.begin() + 5, n, memory.begin() + address);
    Report ack = replyOf(request[1]);
    writeU16(ack, 2, address);
    ack[4] = static_cast<std::uint8_t>(n);
    return ack;
}

Report answerMemoryRead(std::span<const std::uint8_t> memory, const Report& request) {
    const std::uint16_t address = readU16(request, 2);
    const std::size_t n = fitting(memory.size(), address, request[4]);
    Report r = replyOf(request[1]);
    writeU16(r, 2, address);
    r[4] = static_cast<std::uint8_t>(n);
    std::copy_n(memory.begin() + address, n, r.begin() + 5);
    return r;
}

std::array<Report, 4> modeNameReplies(std::span<const std::uint8_t> memory) {
    std::array<Report, 4> replies{};
    for (std::size_t i = 0; i < replies.size(); ++i) {
        const std::uint16_t address = kModeNameAddresses[i];
        Report& r = replies[i];
        r = replyOf(codeByte(Command::ModeName));
        writeU16(r, 2, address);
        r[4] = kModeNameReplyLength;
        const std::size_t n =
            address < memory.size()
                ? std::min<std::size_t>(kModeNameReplyLength, memory.size() - address)
                : 0;
        std::fill_n(r.begin() + 5, kModeNameReplyLength, 0xFF);
        std::copy_n(memory.begin() + address, n, r.begin() + 5);
    }
    return replies;
}

} // namespace quilo
