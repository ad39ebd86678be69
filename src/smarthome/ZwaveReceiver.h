#pragma once

#include "device/DebugLog.h"
#include "device/DeviceEvents.h"
#include "smarthome/PlugTable.h"
#include "smarthome/SmartHomeEvents.h"
#include "smarthome/ZwavePort.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace quilo {

// What the read thread does with the Z-Wave module's frames (reply 0x12) and
// with Z-Wave memory (reply 0x14): acknowledges every frame but a lone ACK,
// updates the plug table and passes the events on. Any 61 bytes are safe to hand
// it: lengths never reach outside the report or past the table.
class ZwaveReceiver : public DeviceEvents {
public:
    // `port` carries the acknowledgement from the read thread (unpaced, at once).
    ZwaveReceiver(PlugTable& table, ZwavePort& port, SmartHomeEvents& events,
                  DebugLog* log = nullptr,
                  std::chrono::milliseconds ackPause = std::chrono::milliseconds(20))
        : m_table(table), m_port(port), m_events(events), m_log(log), m_ackPause(ackPause) {}

    // Read thread: the frame starts at byte 3, its function id is byte 6.
    void zwaveFrame(const Report& report) override;
    // Read thread: [2-3] address, [4] length, [5...] data.
    void zwaveMemory(const Report& report) override;

    // Memory replies taken into the table so far.
    std::uint64_t memoryReplies() const { return m_memoryReplies.load(); }

private:
    void dispatch(const Report& r);
    void plugCommand(const Report& r);
    void inclusion(const Report& r);
    void exclusion(const Report& r);
    void sendEvent(std::uint8_t function, int high, int low);
    void debug(const char* text);

    PlugTable& m_table;
    ZwavePort& m_port;
    SmartHomeEvents& m_events;
    DebugLog* m_log;
    std::chrono::milliseconds m_ackPause;
    std::atomic<std::uint64_t> m_memoryReplies{0};
};

} // namespace quilo
