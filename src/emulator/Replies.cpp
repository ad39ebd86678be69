#include "emulator/Replies.h"

#include <algorithm>

namespace quilo {

Report replyOf(std::uint8_t code, std::span<const std::uint8_t> bytes) {
    Report r{};
    r[0] = kReportId;
    r[1] = code;
    std::copy_n(bytes.begin(), std::min(bytes.size(), kReportSize - 2), r.begin() + 2);
    return r;
}

Report replyOf(std::uint8_t code, std::initializer_list<std::uint8_t> bytes) {
    return replyOf(code, std::span(bytes.begin(), bytes.size()));
}

Report textReply(std::uint8_t code, std::string_view text) {
    Report r = replyOf(code);
    const std::size_t n = std::min(text.size(), kReportSize - 3); // keep the zero
    std::copy_n(text.begin(), n, r.begin() + 2);
    return r;
}

Report echoReply(const Report& request, std::size_t echoed) {
    const std::size_t n = std::min(echoed, kReportSize - 2);
    return replyOf(request[1], std::span(request.data() + 2, n));
}

void putU16(Report& r, std::size_t at, std::uint16_t v) {
    r[at] = static_cast<std::uint8_t>(v >> 8);
    r[at + 1] = static_cast<std::uint8_t>(v);
}

void putU32(Report& r, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) {
        r[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }
}

std::uint16_t getU16(const Report& r, std::size_t at) {
    return static_cast<std::uint16_t>(r[at] << 8 | r[at + 1]);
}

std::uint32_t getU32(const Report& r, std::size_t at) {
    return std::uint32_t(r[at]) << 24 | std::uint32_t(r[at + 1]) << 16 |
           std::uint32_t(r[at + 2]) << 8 | r[at + 3];
}

} // namespace quilo
