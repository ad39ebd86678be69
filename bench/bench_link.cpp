// The device link against the emulated processor: paced round trip, how long a
// user-interface send takes while the processor is silent, and how soon the last
// value of a fast slider drag reaches a slow processor.
#include "device/ReportBuilder.h"
#include "device/ReportWriter.h"
#include "device/UsbLink.h"
#include "emulator/Emulator.h"
#include "emulator/EmulatorTransport.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace quilo;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Counts inbound reports and lets the benchmark wait for the next one.
class CountingHandler : public InboundHandler {
public:
    void handleReport(const Report&) override {
        {
            std::lock_guard lock(m_mutex);
            ++m_count;
        }
        m_cv.notify_all();
    }
    std::uint64_t count() {
        std::lock_guard lock(m_mutex);
        return m_count;
    }
    void waitBeyond(std::uint64_t seen) {
        std::unique_lock lock(m_mutex);
        m_cv.wait_for(lock, 5s, [&] { return m_count > seen; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::uint64_t m_count = 0;
};

// The emulator's transport, noting when a given report reaches the processor.
class WatchingTransport : public HidTransport {
public:
    explicit WatchingTransport(Emulator& emulator) : m_inner(emulator) {}

    void watchFor(const Report& r) {
        std::lock_guard lock(m_mutex);
        m_watched = r;
        m_seenAt.reset();
        m_writes = 0;
    }
    Clock::time_point waitSeen() {
        std::unique_lock lock(m_mutex);
        m_cv.wait_for(lock, 5s, [this] { return m_seenAt.has_value(); });
        return m_seenAt.value_or(Clock::now());
    }
    std::uint64_t writes() {
        std::lock_guard lock(m_mutex);
        return m_writes;
    }
    EmulatorTransport& inner() { return m_inner; }

    std::vector<std::string> interfacePaths() override { return m_inner.interfacePaths(); }
    bool open(const std::string& path) override { return m_inner.open(path); }
    std::optional<HidAttributes> attributes() override { return m_inner.attributes(); }
    int read(Report& into, std::chrono::milliseconds timeout) override {
        return m_inner.read(into, timeout);
    }
    int write(const Report& report) override {
        const int result = m_inner.write(report);
        {
            std::lock_guard lock(m_mutex);
            ++m_writes;
            if (m_watched && report == *m_watched && !m_seenAt) {
                m_seenAt = Clock::now();
            }
        }
        m_cv.notify_all();
        return result;
    }
    void close() override { m_inner.close(); }

private:
    EmulatorTransport m_inner;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::optional<Report> m_watched;
    std::optional<Clock::time_point> m_seenAt;
    std::uint64_t m_writes = 0;
};

// One emulated processor behind a link, with the given misbehaviour.
struct Rig {
    explicit Rig(const EmulatorFaults& faults = {})
        : transport(emulator), link(transport, handler, log) {
        transport.inner().withEmulator([&](Emulator& e) { e.setFaults(faults); });
        if (!link.openLink()) {
            throw std::runtime_error("emulator did not open");
        }
    }
    ~Rig() { link.closeLink(false); }

    Emulator emulator;
    WatchingTransport transport;
    CountingHandler handler;
    DebugLog log;
    UsbLink link;
};

double percentile(std::vector<double> samples, double p) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(samples.size() - 1));
    return samples[i];
}

double micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// One SetParam written through the paced path and answered by the processor:
// from the call until the read thread has handed the acknowledgement on.
void pacedRoundTrip(benchmark::State& state) {
    Rig rig;
    std::vector<double> samples;
    std::uint32_t word = 0;
    for (auto _ : state) {
        const std::uint64_t seen = rig.handler.count();
        const auto start = Clock::now();
        rig.link.WriteUsbData(buildSetParamRepeated(4, 12, ++word, 1));
        rig.handler.waitBeyond(seen);
        samples.push_back(micros(Clock::now() - start));
    }
    state.counters["median_us"] = percentile(samples, 0.5);
    state.counters["p99_us"] = percentile(samples, 0.99);
    state.counters["pacing_timeouts"] = static_cast<double>(rig.link.pacingTimeouts());
}
BENCHMARK(pacedRoundTrip)->Unit(benchmark::kMicrosecond)->Iterations(5000);

// A user-interface send through the writer while the processor answers nothing
// (the writer thread sits in its 1.8 s pacing wait). Arg 0: every send changes
// the same parameter (replaced at the tail); arg 1: every send is a different
// parameter (appended).
void writerSendWhileSilent(benchmark::State& state) {
    EmulatorFaults silent;
    silent.silent = true;
    Rig rig(silent);
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(state.max_iterations));
    {
        ReportWriter writer(rig.link);
        const bool distinct = state.range(0) == 1;
        std::uint32_t n = 0;
        for (auto _ : state) {
            ++n;
            const Report r = distinct ? buildSetParamRepeated(5 + static_cast<int>(n % 8),
                                                              static_cast<int>((n / 8) % 30), n, 1)
                                      : buildSetParamRepeated(4, 12, n, 1);
            const auto start = Clock::now();
            benchmark::DoNotOptimize(writer.send(r));
            samples.push_back(micros(Clock::now() - start));
        }
        state.counters["median_us"] = percentile(samples, 0.5);
        state.counters["p99_us"] = percentile(samples, 0.99);
        state.counters["max_us"] = percentile(samples, 1.0);
        state.counters["queued"] = static_cast<double>(writer.queued());
        rig.link.closeLink(false); // lets the writer go before it is destroyed
    }
}
BENCHMARK(writerSendWhileSilent)->Arg(0)->Arg(1)->Iterations(100000);

// 1000 changes of the music volume, one every `range(0)` microseconds, against a
// processor that takes 2 ms per reply. Measured: from the end of the drag until
// the last value is written to the processor.
void sliderDrag(benchmark::State& state) {
    EmulatorFaults slow;
    slow.replyDelay = 2ms;
    Rig rig(slow);
    ReportWriter writer(rig.link);
    const auto spacing = std::chrono::microseconds(state.range(0));
    std::uint32_t base = 0;
    std::vector<double> lags;
    std::uint64_t written = 0;
    for (auto _ : state) {
        const Report last = buildSetParamRepeated(4, 12, base + 999, 1);
        rig.transport.watchFor(last);
        auto next = Clock::now();
        for (std::uint32_t i = 0; i < 1000; ++i) {
            if (i > 0) {
                next += spacing;
                while (Clock::now() < next) {
                    // the pointer moves on; a busy wait keeps the spacing exact
                }
            }
            writer.send(buildSetParamRepeated(4, 12, base + i, 1));
        }
        const auto dragEnd = Clock::now();
        const auto seen = rig.transport.waitSeen();
        const auto lag = seen > dragEnd ? seen - dragEnd : Clock::duration::zero();
        state.SetIterationTime(std::chrono::duration<double>(lag).count());
        lags.push_back(micros(lag) / 1000.0);
        written += rig.transport.writes();
        base += 1000;
        writer.flush();
        std::this_thread::sleep_for(5ms); // the last reply comes in before the next drag
    }
    state.counters["lag_median_ms"] = percentile(lags, 0.5);
    state.counters["lag_max_ms"] = percentile(lags, 1.0);
    state.counters["written_per_drag"] =
        static_cast<double>(written) / static_cast<double>(state.iterations());
}
BENCHMARK(sliderDrag)
    ->Arg(0)
    ->Arg(100)
    ->Arg(1000)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
