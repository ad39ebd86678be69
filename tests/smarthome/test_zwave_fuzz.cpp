// Random and mangled reports against the Z-Wave receiver: whatever arrives, every
// frame but a lone ACK gets exactly one acknowledgement, only the part of the
// table the function id or memory address names may change, presence entries
// hold their own id or 0, and events match their frames. The sanitizer build runs
// this too, so a read or write outside a report or the table fails there.
#include "SmartHomeTestSupport.h"
#include "device/ReportBuilder.h"
#include "smarthome/ZwaveReceiver.h"
#include "support/ZwaveBytes.h"

#include "support/FuzzSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

using namespace quilo;
using namespace quilo::test;

namespace {

constexpr std::uint8_t kFunctions[] = {0x02, 0x04, 0x13, 0x42, 0x4A, 0x4B};

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

struct Checker {
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
            const bool mayChangeValue = frame && function == 0x04 && i == id && storable;
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

Report randomReport(std::mt19937_64& rng) {
    Report r;
    for (auto& b : r) {
        b = static_cast<std::uint8_t>(rng());
    }
    r[1] = rng() % 2 ? 0x12 : 0x14;
    if (r[1] == 0x12) {
        if (rng() % 16 == 0) {
            r[3] = 0x06;
        }
        if (rng() % 8 != 0) {
            r[6] = kFunctions[rng() % std::size(kFunctions)];
        }
        if (rng() % 2) {
            r[8] = static_cast<std::uint8_t>(rng() % 8); // statuses that do something
        }
        if (rng() % 2) {
            r[9] = static_cast<std::uint8_t>(rng() % 40);
        }
    } else if (rng() % 2) {
        const auto address = static_cast<std::uint16_t>(rng() % 7000);
        r[2] = std::uint8_t(address >> 8);
        r[3] = std::uint8_t(address);
    }
    return r;
}

// Frames as the module sends them, and memory replies of every kind.
std::vector<Report> validReports() {
    std::vector<Report> out{
        moduleFrame(0x01, {0x02, 0x05, 0x08, 0x1D, 0x03, 0x01, 0x00, 0x00, 0x80}),
        moduleRequest({0x04, 0x00, 0x05, 0x03, 0x20, 0x03, 0x63}),
        moduleRequest({0x13, 0x43, 0x00}),
        moduleRequest({0x13, 0x44, 0x01}),
        moduleFrame(0x01, {0x13, 0x01}),
        moduleRequest({0x42, 0x02}),
        moduleRequest({0x4A, 0x30, 0x01, 0x00, 0x00}),
        moduleRequest({0x4A, 0x30, 0x03, 0x05, 0x05, 0x04, 0x10, 0x01, 0x20, 0x25}),
        moduleRequest({0x4A, 0x30, 0x05, 0x05, 0x00}),
        moduleRequest({0x4B, 0x09, 0x06, 0x05, 0x00}),
        reportOf({0x02, 0x12, 0x01, 0x06}),
    };
    for (std::uint16_t address : {0, 56, 6496, 6524, 6804, 6859}) {
        Report m = reportOf({0x02, 0x14, std::uint8_t(address >> 8), std::uint8_t(address), 56});
        std::fill(m.begin() + 5, m.end(), 0x41);
        out.push_back(m);
    }
    return out;
}

} // namespace

TEST(ZwaveFuzz, RandomReportsStayInsideTheirTargets) {
    std::mt19937_64 rng(0x5A57415645);
    Checker c;
    PlugTableData state = c.table->snapshot();
    for (int i = 0; i < 1'000'000 && c.failures.empty(); ++i) {
        state = c.check(randomReport(rng), state);
    }
    EXPECT_EQ(c.checked, 1'000'000u);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
    EXPECT_GT(c.events.count, 100'000u) << "the events were reached";
}

TEST(ZwaveFuzz, MangledValidReportsStayInsideTheirTargets) {
    const std::vector<Report> valid = validReports();
    std::mt19937_64 rng(0x4D414E474C45);
    Checker c;
    PlugTableData state = c.table->snapshot();
    for (int i = 0; i < 300'000 && c.failures.empty(); ++i) {
        const Report r = mangledReport(valid[rng() % valid.size()], rng, 2);
        state = c.check(r, state);
    }
    EXPECT_EQ(c.checked, 300'000u);
    EXPECT_TRUE(c.failures.empty()) << c.failures.front();
}
