#pragma once

#include "device/Report.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace quilo {

using EmulatorClock = std::chrono::steady_clock;
using EmulatorTime = EmulatorClock::time_point;

// Replies and later work of the emulated processor, ordered by the time they are
// due (and by posting order at equal times). Work posted as an action runs when
// it falls due, with its own due time as "now", so chains of delays stay exact
// however late the reader collects them. A tag groups entries so that a stop
// (end of learning, cancelled inclusion) can withdraw those not yet due.
class Outbox {
public:
    using Tag = std::uint32_t;
    using Action = std::function<void(EmulatorTime)>;
    static constexpr Tag kNoTag = 0;

    void post(EmulatorTime due, const Report& report, Tag tag = kNoTag);
    void call(EmulatorTime due, Action action, Tag tag = kNoTag);
    // Withdraws the entries of `tag` due after `after`; what was due by then has
    // already left the processor.
    void cancel(Tag tag, EmulatorTime after = EmulatorTime::min());
    void clear() { m_entries.clear(); }

    // The next report due at `now`, running every action due before it.
    std::optional<Report> popDue(EmulatorTime now);
    std::optional<EmulatorTime> nextDue() const;
    bool empty() const { return m_entries.empty(); }

private:
    struct Entry {
        Tag tag = kNoTag;
        std::optional<Report> report;
        Action action;
    };
    std::map<std::pair<EmulatorTime, std::uint64_t>, Entry> m_entries;
    std::uint64_t m_sequence = 0;
};

// Tags of the emulator's delayed work.
namespace outbox_tag {
constexpr Outbox::Tag kLearn = 1;
constexpr Outbox::Tag kInclusion = 2;
constexpr Outbox::Tag kExclusion = 3;
constexpr Outbox::Tag kNetworkReset = 4;
constexpr Outbox::Tag kSend = 5;
constexpr Outbox::Tag plug(std::size_t index) {
    return 0x100 + static_cast<Outbox::Tag>(index);
}
} // namespace outbox_tag

} // namespace quilo
