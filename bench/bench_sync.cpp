// A full read-back and a full write-out against the emulated processor, with
// every prescribed pause set to zero: what the host itself costs per run.
// Counters: reports each run sends.
#include "device/DrainingSink.h"
#include "device/InboundQueue.h"
#include "device/LinkSink.h"
#include "device/UsbLink.h"
#include "emulator/EmulatorTransport.h"
#include "emulator/HostSink.h"
#include "model/InboundDispatcher.h"
#include "model/ModeFile.h"
#include "model/Presets.h"
#include "model/Synchroniser.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace quilo;
using namespace quilo::test;

namespace {

struct Host {
    EmulatorHarness h{[] {
        EmulatorOptions o;
        o.logCapacity = 0; // the log would only measure itself
        return o;
    }()};
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    DeviceEvents events;
    InboundDispatcher dispatcher{*image, events};
    HostSink sink{h, dispatcher};
    Synchroniser sync{*image, sink, kNoPauses};
    Host() {
        image->resetToDefaults();
        readModeFileBytes(presetModeFile(14), *image);
    }
};

void BM_FullPull(benchmark::State& state) {
    Host host;
    int reports = 0;
    for (auto _ : state) {
        host.sink.sent = 0;
        host.sync.pullAll();
        reports = host.sink.sent;
    }
    state.counters["reports"] = reports;
}
BENCHMARK(BM_FullPull)->Unit(benchmark::kMillisecond);

void BM_FullPush(benchmark::State& state) {
    Host host;
    host.image->machine.applied[machine::kVolumeRecall] = 1; // with both volume ramps
    int reports = 0;
    for (auto _ : state) {
        host.sink.sent = 0;
        host.sync.pushAll();
        reports = host.sink.sent;
    }
    state.counters["reports"] = reports;
}
BENCHMARK(BM_FullPush)->Unit(benchmark::kMillisecond);

// Passes reports on and counts them; drops the timed pauses (the music unmute
// ramp's 30 ms steps are the setter's own, not among the synchronisation's).
class NoPauseSink : public ReportSink {
public:
    explicit NoPauseSink(ReportSink& inner) : m_inner(inner) {}
    int send(const Report& report) override {
        ++sent;
        return m_inner.send(report);
    }
    void pause(std::chrono::milliseconds) override {}
    int sent = 0;

private:
    ReportSink& m_inner;
};

// The same through the real link: read thread, inbound queue drained after each
// paced write, the emulator's transport.
template <bool Push> void overLink(benchmark::State& state) {
    Emulator emulator;
    EmulatorTransport transport(emulator);
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    readModeFileBytes(presetModeFile(14), *image);
    DeviceEvents events;
    InboundDispatcher dispatcher(*image, events);
    InboundQueue inbound(dispatcher);
    DebugLog log;
    UsbLink link(transport, inbound, log);
    if (!link.openLink()) {
        state.SkipWithError("the emulated link did not open");
        return;
    }
    LinkSink linkSink(link);
    DrainingSink draining(linkSink, inbound);
    NoPauseSink sink(draining);
    Synchroniser sync(*image, sink, kNoPauses);
    if (Push) {
        image->machine.applied[machine::kVolumeRecall] = 1; // with both volume ramps
    }
    int reports = 0;
    for (auto _ : state) {
        sink.sent = 0;
        if (Push) {
            sync.pushAll();
        } else {
            sync.pullAll();
        }
        reports = sink.sent;
    }
    state.counters["reports"] = reports;
    state.counters["timeouts"] = double(link.pacingTimeouts());
    link.closeLink(false);
}

void BM_FullPullOverLink(benchmark::State& state) {
    overLink<false>(state);
}
BENCHMARK(BM_FullPullOverLink)->Unit(benchmark::kMillisecond);

void BM_FullPushOverLink(benchmark::State& state) {
    overLink<true>(state);
}
BENCHMARK(BM_FullPushOverLink)->Unit(benchmark::kMillisecond);

} // namespace
