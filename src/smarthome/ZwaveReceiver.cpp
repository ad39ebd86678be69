#include "smarthome/ZwaveReceiver.h"

#include "device/ReportBuilder.h"
#include "smarthome/PlugFrames.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <thread>

namespace quilo {

namespace {

constexpr std::uint8_t kLoneAck = 0x06;

// Frame byte i is report byte 3 + i: function id at 6, its parameters after it.
constexpr std::size_t kFunction = 6;
constexpr std::size_t kArg1 = 7;
constexpr std::size_t kArg2 = 8;
constexpr std::size_t kArg3 = 9;
constexpr std::size_t kNodeMask = 10;

// Inclusion and exclusion progress.
constexpr std::uint8_t kReady = 1;
constexpr std::uint8_t kFound = 2;
constexpr std::uint8_t kProtocolDone = 5;
constexpr std::uint8_t kRemoved = 6;
constexpr std::uint8_t kFailed = 7;

// Memory replies: [2-3] address, [4] length, data from 5 to the end of the report.
constexpr std::size_t kMemoryData = 5;

} // namespace

void ZwaveReceiver::zwaveFrame(const Report& r) {
    if (r[3] == kLoneAck) {
        return;
    }
    m_port.sendUnpaced(buildZwaveAck());
    if (m_ackPause.count() > 0) {
        std::this_thread::sleep_for(m_ackPause);
    }
    dispatch(r);
}

void ZwaveReceiver::zwaveMemory(const Report& r) {
    const auto address = static_cast<std::uint16_t>(r[2] << 8 | r[3]);
    const std::size_t length = std::min<std::size_t>(r[4], kReportSize - kMemoryData);
    if (m_table.applyMemory(address, std::span(r).subspan(kMemoryData, length))) {
        ++m_memoryReplies;
    } else {
        debug("ZWaveReadMemFunc over range");
    }
}

void ZwaveReceiver::dispatch(const Report& r) {
    switch (r[kFunction]) {
    case zwave_function::kNodeList: {
        const std::size_t length = std::min<std::size_t>(r[kArg3], kReportSize - kNodeMask);
        m_table.setNodeList(std::span(r).subspan(kNodeMask, length));
        break;
    }
    case zwave_function::kPlugCommand:
        plugCommand(r);
        break;
    case zwave_function::kSendDone:
        // Status 0: the plug heard it; 1: it did not. Anything else is not an end.
        if (r[kArg2] == 0 || r[kArg2] == 1) {
            m_table.setFlag(PlugTable::Flag::Ack);
            sendEvent(zwave_function::kSendDone, r[kArg1], r[kArg2]);
        }
        break;
    case zwave_function::kResetDone:
        sendEvent(zwave_function::kResetDone, 0, 0);
        m_table.setFlag(PlugTable::Flag::Ack);
        break;
    case zwave_function::kInclusion:
        inclusion(r);
        break;
    case zwave_function::kExclusion:
        exclusion(r);
        break;
    default:
        break;
    }
}

void ZwaveReceiver::plugCommand(const Report& r) {
    // Source id, the command's length c, then c bytes; the value is the last one.
    const int id = r[kArg2];
    const std::size_t c = r[kArg3];
    if (c == 0 || kArg3 + c >= kReportSize) {
        return; // no command byte inside the report: nothing to report
    }
    const std::uint8_t value = r[kArg3 + c];
    if (isNodeId(id)) {
        m_table.setLastValue(id, value);
    }
    sendEvent(zwave_function::kPlugCommand, id, value);
}

void ZwaveReceiver::inclusion(const Report& r) {
    const std::uint8_t status = r[kArg2];
    if (status == kReady || status == kFound || status == kFailed) {
        sendEvent(zwave_function::kInclusion, 0, status);
    } else if (status == kProtocolDone) {
        const int id = r[kArg3];
        // A plug record lives at 28 * id: an id that is no plug's (the controller, or past
        // 232) would be written over the scenes. Such an inclusion has failed.
        if (id < kFirstPlugId || id > kLastPlugId) {
            char text[48];
            std::snprintf(text, sizeof text, "INCLUSION ID= %d is no plug\n", id);
            debug(text);
            sendEvent(zwave_function::kInclusion, 0, kFailed);
            return;
        }
        m_table.includePlug(id);
        sendEvent(zwave_function::kInclusion, id, status);
    }
}

void ZwaveReceiver::exclusion(const Report& r) {
    const std::uint8_t status = r[kArg2];
    if (status != kRemoved) {
        sendEvent(zwave_function::kExclusion, 0, status);
        return;
    }
    const int id = r[kArg3];
    char text[32];
    std::snprintf(text, sizeof text, "REMOVE ID= %d\n", id);
    debug(text);
    if (id != 0) {
        m_table.setPresent(id, false);
    }
    sendEvent(zwave_function::kExclusion, id, status);
}

void ZwaveReceiver::sendEvent(std::uint8_t function, int high, int low) {
    m_events.zwaveEvent({function, static_cast<std::uint32_t>(high) << 16 |
                                       static_cast<std::uint32_t>(low & 0xFFFF)});
}

void ZwaveReceiver::debug(const char* text) {
    if (m_log) {
        m_log->write(text);
    }
}

} // namespace quilo
