#pragma once

#include "device/Report.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quilo {

// The Z-Wave serial-API requests this program sends, each as a ZwaveFrame report.
Report buildGetInitData();     // 02
Report buildSetDefault();      // 42 02
Report buildAddNodeStart();    // 4A 01 30
Report buildAddNodeStop();     // 4A 05 00
Report buildRemoveNodeStart(); // 4B 01 09
// 4B 05 after a completed removal; 4B 05 00 when the user cancels the removal.
enum class RemoveStop { AfterRemoval, Cancelled };
Report buildRemoveNodeStop(RemoveStop form);
// 13 id 03 20 01 value 25 cb: Basic Set, callback 0x44 for the infrared values
// 0x80-0xFE, 0x43 for the rest.
Report buildSendBasicSet(int id, int value);
Report buildSendAbort(); // 13

// Callback ids of a Basic Set as its end-of-send reports them.
constexpr std::uint8_t kPlugCallback = 0x43;
constexpr std::uint8_t kInfraredCallback = 0x44;
std::uint8_t basicSetCallback(int value);

// Function ids of the frames the module sends back.
namespace zwave_function {
constexpr std::uint8_t kNodeList = 0x02;
constexpr std::uint8_t kPlugCommand = 0x04;
constexpr std::uint8_t kSendDone = 0x13;
constexpr std::uint8_t kResetDone = 0x42;
constexpr std::uint8_t kInclusion = 0x4A;
constexpr std::uint8_t kExclusion = 0x4B;
} // namespace zwave_function

// One of the requests above by its operation name ("GetInitData", ...,
// "SendBasicSet" with id and value); nullopt for an unknown name.
std::optional<Report> buildZwaveRequest(std::string_view name, int id = 0, int value = 0,
                                        RemoveStop form = RemoveStop::AfterRemoval);

} // namespace quilo
