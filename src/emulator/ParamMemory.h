#pragma once

#include "device/Report.h"
#include "emulator/EmulatorState.h"

#include <cstdint>

namespace quilo {

// Status byte of SetParam acknowledgements and GetParam replies.
namespace param_status {
constexpr std::uint8_t kOk = 0;
constexpr std::uint8_t kUnknownModule = 0x01; // module outside 1-12
constexpr std::uint8_t kUnknownParam = 0x02;  // no such parameter in that module
constexpr std::uint8_t kBadCount = 0x03;      // 0 or more words than the parameter has
} // namespace param_status

// SetParam: keeps the words exactly as sent (a shorter count replaces the first
// words only) and returns the 0x09 acknowledgement:
// [2] status, [3] module, [4] parameter, [5] count. Nothing is stored on an error.
Report applySetParam(ParamMap& params, const Report& request);

// GetParam: the 0x0A reply [2] status, [3] module, [4] parameter, [5] count,
// [6...] the first `count` words last set (zeros past the parameter's own words).
// A nonzero `forcedStatus` replaces the status byte; the words are sent anyway.
Report answerGetParam(const ParamMap& params, const Report& request,
                      std::uint8_t forcedStatus = param_status::kOk);

} // namespace quilo
