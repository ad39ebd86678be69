// The home-automation bridge against a real mosquitto broker on 127.0.0.1, with
// quilod's owner on an emulated processor in-process:
// - BM_EditToStateMessage: a master volume set as the window's slider sets it, until
//   the new state is at a subscriber (target: median below 20 ms);
// - BM_CommandToReport: a command message until its report is queued for the
//   processor (target: median below 5 ms);
// - BM_RepublishAfterRestart: the broker restarted, from the bridge's reconnection
//   until 100 retained topics are at a subscriber again (target: below 50 ms), with
//   the longest event-loop stall meanwhile (target: none over 16 ms).
#include "mqtt/BrokerHarness.h"
#include "support/StallMeter.h"

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace quilo;
using namespace quilo::test;

namespace {

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

void report(benchmark::State& state, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    if (samples.empty()) {
        return;
    }
    state.counters["median_ms"] = samples[samples.size() / 2];
    state.counters["max_ms"] = samples.back();
}

struct Bench {
    Broker broker;
    std::unique_ptr<Owner> owner;
    std::unique_ptr<Subscriber> sub;
    explicit Bench(std::vector<PlugKind> plugs = {PlugKind::Switch, PlugKind::Dimmer}) {
        // The broker's own sending to the subscriber is not the bridge's to measure.
        broker.listener += QStringLiteral("set_tcp_nodelay true\n");
        broker.start();
        owner = std::make_unique<Owner>(brokerSettings(broker.port()), std::move(plugs));
        pumpUntil([&] {
            return owner->idle() && owner->bridge->phase() == MqttBridge::Phase::Connected;
        });
        sub = std::make_unique<Subscriber>(broker.port());
        pumpUntil([&] { return sub->lastOn(owner->topic("micVolume")).has_value(); });
    }
};

void BM_EditToStateMessage(benchmark::State& state) {
    Bench b;
    const QString topic = b.owner->topic("micVolume");
    std::vector<double> samples;
    int value = 10;
    for (auto _ : state) {
        value = value == 10 ? 11 : 10;
        QElapsedTimer t;
        t.start();
        b.owner->daemon->setField(FieldRef{"micVolume", {}}, value, QStringLiteral("bench"));
        b.owner->service->poke(); // as the window's sent observer does
        pumpUntil([&] { return b.sub->lastOn(topic) == QByteArray::number(value); });
        samples.push_back(ms(t));
        state.SetIterationTime(samples.back() / 1000);
        // A user's next move comes a moment later, at no particular phase of the looks.
        state.PauseTiming();
        QElapsedTimer pause;
        pause.start();
        pumpUntil([&] { return false; }, 20 + int(samples.size() * 7 % 60));
        state.ResumeTiming();
    }
    report(state, samples);
}
BENCHMARK(BM_EditToStateMessage)->UseManualTime()->Iterations(60)->Unit(benchmark::kMillisecond);

void BM_CommandToReport(benchmark::State& state) {
    Bench b;
    const QString topic = b.owner->topic("echoVolume/set");
    std::vector<double> samples;
    int value = 10;
    for (auto _ : state) {
        value = value == 10 ? 11 : 10;
        QElapsedTimer t;
        t.start();
        b.sub->publish(topic, QByteArray::number(value));
        // The setter stores the value and queues its report in one step.
        pumpUntil([&] { return b.owner->daemon->image().params.echoVolume == value; });
        samples.push_back(ms(t));
        state.SetIterationTime(samples.back() / 1000);
    }
    report(state, samples);
}
BENCHMARK(BM_CommandToReport)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

void BM_RepublishAfterRestart(benchmark::State& state) {
    // 35 plugs: 12 + 35 state topics, 18 + 35 configs and the availability.
    constexpr std::size_t topics = 12 + 35 + 18 + 35 + 1;
    Bench b(std::vector<PlugKind>(35, PlugKind::Switch));
    if (!pumpUntil([&] { return b.sub->last().size() >= topics; }, 10000)) {
        state.SkipWithError("the plugs did not all show");
        return;
    }
    std::vector<double> samples;
    qint64 stall = 0;
    for (auto _ : state) {
        b.sub.reset();
        b.broker.stop();
        pumpUntil([&] { return b.owner->bridge->phase() != MqttBridge::Phase::Connected; });
        b.broker.start();
        b.sub = std::make_unique<Subscriber>(b.broker.port());
        pumpUntil([&] { return b.owner->bridge->phase() == MqttBridge::Phase::Connected; }, 10000);
        QElapsedTimer t;
        t.start();
        StallMeter meter(1);
        pumpUntil([&] { return b.sub->last().size() >= topics; });
        samples.push_back(ms(t));
        stall = std::max(stall, meter.longestMs());
        state.SetIterationTime(samples.back() / 1000);
    }
    report(state, samples);
    state.counters["topics"] = double(topics);
    state.counters["longest_stall_ms"] = double(stall);
}
BENCHMARK(BM_RepublishAfterRestart)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

} // namespace
