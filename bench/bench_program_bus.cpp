// The desktop program as the processor's owner on the session bus:
//  - a master slider moved in the window until FieldsChanged reaches a subscriber on the
//    bus (isolated moves, and moves 10 ms apart as in a drag);
//  - 1,000 SetField calls from another process while the user drags a slider: the
//    longest stall of the window's event loop, and whether every value reached the
//    processor, in order.
// Needs a session bus: dbus-run-session -- build/bench/bench_program_bus
#include "../tests/gui/app/AppHarness.h"
#include "../tests/support/StallMeter.h"
#include "app/ProgramBus.h"
#include "bus/BusNames.h"
#include "bus/OwnerClient.h"
#include "device/RecordingSink.h"
#include "model/FieldSetters.h"

#include <QApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QSlider>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quilo;
using namespace quilo::test;

constexpr int kCalls = 1000;

// The value of call i of the script, on a field no one else moves meanwhile.
int scriptValue(int i) {
    return i % 100;
}

// Takes FieldsChanged on a connection of its own, as another process would.
class Subscriber : public QObject {
    Q_OBJECT
public:
    Subscriber() : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "sub")) {
        m_bus.connect(QString::fromLatin1(bus::kService), QString::fromLatin1(bus::kPath),
                      QString::fromLatin1(bus::kInterface), QStringLiteral("FieldsChanged"), this,
                      SLOT(take(QStringList)));
    }
    ~Subscriber() override { QDBusConnection::disconnectFromBus("sub"); }
    bool saw(const QString& name) const { return m_names.contains(name); }
    void forget() { m_names.clear(); }

public slots:
    void take(const QStringList& names) { m_names += names; }

private:
    QDBusConnection m_bus;
    QStringList m_names;
};

struct Owner {
    QTemporaryDir dir;
    std::unique_ptr<AppHarness> h;
    std::unique_ptr<ProgramBus> bus;
    QString state;

    Owner() {
        state = dir.filePath(QStringLiteral("state.emu"));
        h = std::make_unique<AppHarness>(true, kEnglish,
                                         [&](AppOptions& o) { o.session.emulatorFile = state; });
        h->start();
        bus = std::make_unique<ProgramBus>(*h->app, *h->app->mainFrame(), true);
    }
    bool ok() const { return h->app->connected() && bus->service().onBus(); }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void fieldsChangedAfterSliderMove(benchmark::State& state, int gapMs) {
    Owner owner;
    if (!owner.ok()) {
        state.SkipWithError("no session bus (run under dbus-run-session)");
        return;
    }
    Subscriber subscriber;
    pump(100);
    QSlider* mic = owner.h->ribbon().slider(ribbon::Slider::Mic, ribbon::kInput);
    std::vector<double> latencies;
    int value = 10;
    for (auto _ : state) {
        subscriber.forget();
        pump(gapMs);
        QElapsedTimer clock;
        clock.start();
        mic->setValue(value = value == 10 ? 11 : 10);
        waitUntil([&] { return subscriber.saw(QStringLiteral("micVolume")); }, 1000);
        latencies.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    state.counters["median_ms"] = median(latencies);
    state.counters["worst_ms"] = *std::max_element(latencies.begin(), latencies.end());
}

void BM_FieldsChangedAfterAMove(benchmark::State& state) {
    fieldsChangedAfterSliderMove(state, 60);
}
BENCHMARK(BM_FieldsChangedAfterAMove)->Iterations(40)->Unit(benchmark::kMillisecond);

void BM_FieldsChangedWhileDragging(benchmark::State& state) {
    fieldsChangedAfterSliderMove(state, 10);
}
BENCHMARK(BM_FieldsChangedWhileDragging)->Iterations(40)->Unit(benchmark::kMillisecond);

// The reports a script's calls should make, in order.
std::vector<Report> expectedReports() {
    DeviceImage image;
    image.resetToDefaults();
    RecordingSink sink;
    FieldSetters setters(image, sink);
    for (int i = 0; i < kCalls; ++i) {
        setters.set(&DspParams::effectVolume, scriptValue(i));
    }
    return sink.reports();
}

void BM_ScriptCallsWhileDragging(benchmark::State& state) {
    Owner owner;
    if (!owner.ok()) {
        state.SkipWithError("no session bus (run under dbus-run-session)");
        return;
    }
    QSlider* music = owner.h->ribbon().slider(ribbon::Slider::Music, ribbon::kInput);
    const std::vector<Report> expected = expectedReports();
    for (auto _ : state) {
        owner.h->drain();
        owner.h->clearReceived();
        QProcess script;
        script.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--script"), QString::number(QCoreApplication::applicationPid())});
        StallMeter stalls(2);
        QElapsedTimer clock;
        clock.start();
        int step = 0;
        // The user drags the music slider up and down meanwhile.
        waitUntil(
            [&] {
                if (clock.elapsed() / 10 > step) {
                    ++step;
                    music->setValue(20 + step % 40);
                }
                return script.state() == QProcess::NotRunning;
            },
            120000);
        const qint64 took = clock.elapsed();
        const qint64 longest = stalls.longestMs();
        owner.h->drain();
        pump(50);
        owner.h->drain();
        std::vector<Report> got;
        for (const Report& r : owner.h->received()) {
            // Only the script's field: the drag sends the music volume.
            if (std::find(expected.begin(), expected.end(), r) != expected.end()) {
                got.push_back(r);
            }
        }
        // Values 0-99 repeat, so a report may match several; order is what counts.
        bool inOrder = got.size() == expected.size();
        for (std::size_t i = 0; inOrder && i < got.size(); ++i) {
            inOrder = got[i] == expected[i];
        }
        state.counters["script_ms"] = double(took);
        state.counters["longest_stall_ms"] = double(longest);
        state.counters["reports_seen"] = double(got.size());
        state.counters["all_in_order"] = inOrder ? 1 : 0;
        state.counters["exit"] = script.exitCode();
    }
}
BENCHMARK(BM_ScriptCallsWhileDragging)->Iterations(1)->Unit(benchmark::kMillisecond);

// The script: 1,000 SetField calls through the owner, one after the other.
int runScript(int ownerPid) {
    auto client = OwnerClient::connect(ownerPid);
    if (!client) {
        return 3;
    }
    for (int i = 0; i < kCalls; ++i) {
        if (!client->setField("effectVolume", std::to_string(scriptValue(i))).ok()) {
            return 4;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--script") {
        return runScript(std::atoi(argv[2]));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "bench_program_bus.moc"
