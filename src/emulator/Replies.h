#pragma once

#include "device/Report.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace quilo {

// Builders of the reports the emulated processor sends. Byte 0 carries the same
// report id as our outbound reports (the host does not look at it), byte 1 the
// reply code.

// The code, then the given bytes from byte 2, zeros after.
Report replyOf(std::uint8_t code, std::initializer_list<std::uint8_t> bytes = {});
Report replyOf(std::uint8_t code, std::span<const std::uint8_t> bytes);

// ASCII text from byte 2, ended by a zero byte (cut to fit the report).
Report textReply(std::uint8_t code, std::string_view text);

// Acknowledgement of a report the host does not decode: the request's code and
// its first `echoed` argument bytes (bytes 2 onward) copied back.
Report echoReply(const Report& request, std::size_t echoed);

} // namespace quilo
