#include "smarthome/PlugFrames.h"

#include "device/ReportBuilder.h"

#include <array>

namespace quilo {

namespace {

template <typename... B> Report frameOf(B... bytes) {
    const std::array<std::uint8_t, sizeof...(B)> payload{static_cast<std::uint8_t>(bytes)...};
    return buildZwaveFrame(payload);
}

} // namespace

Report buildGetInitData() {
    return frameOf(0x02);
}

Report buildSetDefault() {
    return frameOf(0x42, 0x02);
}

Report buildAddNodeStart() {
    return frameOf(0x4A, 0x01, 0x30);
}

Report buildAddNodeStop() {
    return frameOf(0x4A, 0x05, 0x00);
}

Report buildRemoveNodeStart() {
    return frameOf(0x4B, 0x01, 0x09);
}

Report buildRemoveNodeStop(RemoveStop form) {
    return form == RemoveStop::AfterRemoval ? frameOf(0x4B, 0x05) : frameOf(0x4B, 0x05, 0x00);
}

std::uint8_t basicSetCallback(int value) {
    return value >= 0x80 && value <= 0xFE ? kInfraredCallback : kPlugCallback;
}

Report buildSendBasicSet(int id, int value) {
    return frameOf(0x13, id, 0x03, 0x20, 0x01, value, 0x25, basicSetCallback(value));
}

Report buildSendAbort() {
    return frameOf(0x13);
}

std::optional<Report> buildZwaveRequest(std::string_view name, int id, int value, RemoveStop form) {
    if (name == "GetInitData") {
        return buildGetInitData();
    }
    if (name == "SetDefault") {
        return buildSetDefault();
    }
    if (name == "AddNodeStart") {
        return buildAddNodeStart();
    }
    if (name == "AddNodeStop") {
        return buildAddNodeStop();
    }
    if (name == "RemoveNodeStart") {
        return buildRemoveNodeStart();
    }
    if (name == "RemoveNodeStop") {
        return buildRemoveNodeStop(form);
    }
    if (name == "SendBasicSet") {
        return buildSendBasicSet(id, value);
    }
    if (name == "SendAbort") {
        return buildSendAbort();
    }
    return std::nullopt;
}

} // namespace quilo
