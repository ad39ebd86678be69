#pragma once

// What one Z-Wave report may do to the plug table: every frame but a lone ACK
// gets exactly one acknowledgement, only the part of the table the function id
// or memory address names may change, presence entries hold their own id or 0,
// and events match their frames. Shared by the random tests and the fuzz target.
#include "SmartHomeTestSupport.h"
#include "device/ReportBuilder.h"
#include "smarthome/ZwaveReceiver.h"

#include "support/FuzzSupport.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace quilo::test {

// Counts what the receiver sends; the table is checked from snapshots.
class CountingPort : public ZwavePort {
public:
    int sendPaced(const Report&) override {
        ++paced;
        return 61;
    }
    int sendUnpaced(const Report& r) override {
        acks += r == buildZwaveAck() ? 1 : 0;
        ++unpaced;
        return 61;
    }
    void releasePacing() override {}
    bool connected() const override { return true; }
    std::size_t acks = 0, unpaced = 0, paced = 0;
};

class CountingEvents : public SmartHomeEvents {
public:
    void zwaveEvent(const ZwaveEvent& e) override {
        last = e;
        ++count;
    }
    ZwaveEvent last;
    std::size_t count = 0;
};

struct ZwaveChecker {
    std::unique_ptr<PlugTable> table = std::make_unique<PlugTable>();
    CountingPort port;
    CountingEvents events;
    ZwaveReceiver receiver{*table, port, events, nullptr, std::chrono::milliseconds(0)};
    std::vector<std::string> failures;
    std::size_t checked = 0;

    void fail(const Report& r, const std::string& what) { recordFailure(failures, r, what); }

    PlugTableData check(const Report& r, const PlugTableData& before) {
        const std::size_t acks = port.acks;
        const std::size_t sent = port.unpaced + port.paced;
        const std::size_t events0 = events.count;
        const bool frame = r[1] == 0x12;
        frame ? receiver.zwaveFrame(r) : receiver.zwaveMemory(r);
        const PlugTableData after = table->snapshot();
        ++checked;

        const bool acked = frame && r[3] != 0x06;
        if (port.acks != acks + (acked ? 1 : 0) || port.unpaced + port.paced != sent + acked) {
            fail(r, "acknowledgements");
        }
        for (int id = 0; id < kPlugIdCount; ++id) {
            if (after.presence[id].id != 0 && after.presence[id].id != id) {
                fail(r, "presence holds another id");
            }
        }
        if (after.presence[0] != PlugPresence{}) {
            fail(r, "id 0 stored");
        }
        const std::uint8_t function = r[6];
        const int id = r[frame && function == 0x04 ? 8 : 9];
        const bool storable = id >= 1 && id <= 232;
        for (int i = 0; i < kPlugIdCount; ++i) {
            const bool idChanged = after.presence[i].id != before.presence[i].id;
            const bool valueChanged = after.presence[i].lastValue != before.presence[i].lastValue;
            const bool mayChangeId =
                frame &&
                (function == 0x02 || (i == id && storable && function == 0x4A && r[8] == 5) ||
                 (i == id && storable && function == 0x4B && r[8] == 6));
            // A node list starts every plug afresh, its last value too.
            const bool mayChangeValue =
                frame && (function == 0x02 || (function == 0x04 && i == id && storable));
            if ((idChanged && !mayChangeId) || (valueChanged && !mayChangeValue)) {
                fail(r, "presence of id " + std::to_string(i));
            }
        }
        std::size_t from = 0, to = 0; // the memory bytes that may change
        if (frame && function == 0x4A && r[8] == 5 && storable) {
            from = 28u * std::size_t(id);
            to = from + 28;
        } else if (!frame && (std::size_t(r[2]) << 8 | r[3]) < 6860) {
            const std::size_t address = std::size_t(r[2]) << 8 | r[3];
            const std::size_t length = std::min<std::size_t>(r[4], 56);
            from = address < 6524 ? address / 28 * 28 : 6524 + (address - 6524) / 56 * 56;
            to = address < 6524 ? std::min<std::size_t>(from + length, 6524)
                                : std::min<std::size_t>(from + length, 6860);
        }
        const auto a = after.memory.begin();
        const auto b = before.memory.begin();
        if (!std::equal(a, a + std::ptrdiff_t(from), b) ||
            !std::equal(a + std::ptrdiff_t(to), after.memory.end(), b + std::ptrdiff_t(to))) {
            fail(r, "memory outside the record or scene named");
        }
        const std::size_t newEvents = events.count - events0;
        if (newEvents > 1 || (newEvents == 1 && (!acked || events.last.function != function))) {
            fail(r, "events");
        }
        return after;
    }
};

} // namespace quilo::test
