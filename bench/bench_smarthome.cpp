// The smart-home core's costs: one frame of the Z-Wave module handled on the read
// thread (acknowledgement included, sent to a port that only counts), and a full
// plug synchronisation with ten plugs through the real link against the emulated
// processor, with the prescribed pauses removed. A synchronisation counts as done
// when its last memory reply is in the table.
#include "smarthome/LinkedHome.h"
#include "support/ZwaveBytes.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

class CountingPort : public ZwavePort {
public:
    int sendPaced(const Report&) override { return 61; }
    int sendUnpaced(const Report&) override {
        ++sent;
        return 61;
    }
    void releasePacing() override {}
    bool connected() const override { return true; }
    std::uint64_t sent = 0;
};

void BM_FrameHandled(benchmark::State& state) {
    auto table = std::make_unique<PlugTable>();
    CountingPort port;
    SmartHomeEvents quiet;
    ZwaveReceiver receiver(*table, port, quiet, nullptr, std::chrono::milliseconds(0));
    // The frames a window's work brings: a node list, plug reports, ends of
    // sends, inclusion and exclusion progress.
    const std::vector<Report> frames{
        moduleFrame(0x01,
                    {0x02, 0x05, 0x08, 0x1D, 0xFF, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0, 0,    0,    0,   0,
                     0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x05, 0x00}),
        moduleRequest({0x04, 0x00, 0x05, 0x03, 0x20, 0x03, 0x63}),
        moduleRequest({0x13, 0x43, 0x00}),
        moduleRequest({0x13, 0x44, 0x01}),
        moduleRequest({0x4A, 0x30, 0x01, 0x00, 0x00}),
        moduleRequest({0x4A, 0x30, 0x05, 0x07, 0x00}),
        moduleRequest({0x4B, 0x09, 0x06, 0x07, 0x00}),
        moduleRequest({0x42, 0x02}),
    };
    std::size_t i = 0;
    for (auto _ : state) {
        receiver.zwaveFrame(frames[i]);
        i = (i + 1) % frames.size();
    }
    state.counters["acks"] = double(port.sent);
}
BENCHMARK(BM_FrameHandled);

void BM_PlugSyncTenPlugs(benchmark::State& state) {
    const std::vector<PlugKind> plugs(10, PlugKind::Switch);
    EmulatorOptions options = instantEmulator(plugs);
    options.logCapacity = 0; // the log would only measure itself
    LinkedHome linked(options);
    linked.emulator.restore(networkState(plugs));
    if (!linked.open()) {
        state.SkipWithError("the emulated link did not open");
        return;
    }
    std::uint64_t replies = 0;
    for (auto _ : state) {
        linked.home.workers().synchronise({});
        replies += 10 + kSceneCount;
        if (!linked.waitMemoryReplies(replies)) {
            state.SkipWithError("memory replies missing");
            break;
        }
    }
    state.counters["plugs"] = double(linked.home.table().snapshot().plugIds().size());
    state.counters["timeouts"] = double(linked.link.pacingTimeouts());
}
BENCHMARK(BM_PlugSyncTenPlugs)->Unit(benchmark::kMillisecond);

} // namespace
