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

} // namespace quilo
