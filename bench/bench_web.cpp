// The phone remote on loopback against quilod's owner logic on the emulated processor:
// how soon a field changed at the owner reaches a page's WebSocket, the longest stall
// of the owner's event loop while 16 pages are open and a volume is dragged, and the
// weight of the embedded page.
#include "WebOwner.h"
#include "support/StallMeter.h"
#include "web/WebPage.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace quilo;
using namespace quilo::test;

namespace {

// Runs the event loop until `done`, returning as soon as an event made it so (no polling
// step to round the time up); false after `ms`.
bool waitExactly(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(ms); // the loop's wait ends by then at the latest
    while (!done()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A change every `gapMs` (as far apart as a user's taps, or a drag's steps), each timed
// from the owner's setter to the page's message.
void BM_FieldChangeToPage(benchmark::State& state) {
    WebOwner owner;
    const QByteArray token = owner.pairPhone(QStringLiteral("Bench"));
    EventsClient page(owner.port, {{"Cookie", "quilo_token=" + token}});
    waitFor([&] { return !page.messages.empty(); });
    const int gapMs = static_cast<int>(state.range(0));
    std::vector<double> ms;
    int value = 10;
    for (auto _ : state) {
        value = value == 10 ? 11 : 10;
        QTest::qWait(gapMs);
        QElapsedTimer clock;
        clock.start();
        owner.daemon->setField(FieldRef{"micVolume", {}}, value, QStringLiteral("bench"));
        owner.service->poke();
        const bool arrived =
            waitExactly([&] { return page.lastField(QStringLiteral("micVolume")) == value; }, 2000);
        const double took = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        state.SetIterationTime(took / 1000);
        if (!arrived) {
            state.SkipWithError("a change never reached the page");
            break;
        }
        ms.push_back(took);
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["max_ms"] = ms.back();
    }
}
BENCHMARK(BM_FieldChangeToPage)
    ->Arg(200)
    ->Arg(10)
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// 16 pages open while a volume moves every 5 ms for two seconds.
void BM_SixteenPagesWhileDragging(benchmark::State& state) {
    WebOwner owner;
    const QByteArray token = owner.pairPhone(QStringLiteral("Bench"));
    std::vector<std::unique_ptr<EventsClient>> pages;
    for (int i = 0; i < 16; ++i) {
        pages.push_back(std::make_unique<EventsClient>(
            owner.port, Headers{{"Cookie", "quilo_token=" + token}}));
    }
    waitFor([&] {
        return std::all_of(pages.begin(), pages.end(),
                           [](const auto& p) { return !p->messages.empty(); });
    });
    for (auto _ : state) {
        StallMeter meter(2);
        QElapsedTimer clock;
        clock.start();
        int value = 0;
        while (clock.elapsed() < 2000) {
            value = (value + 1) % 100;
            owner.daemon->setField(FieldRef{"musicVolume", {}}, value, QStringLiteral("drag"));
            owner.service->poke();
            QTest::qWait(5);
        }
        state.counters["longest_stall_ms"] = static_cast<double>(meter.longestMs());
        qsizetype heard = 0;
        for (const auto& p : pages) {
            heard += p->messages.size();
        }
        state.counters["messages_per_page"] = static_cast<double>(heard) / 16.0;
    }
}
BENCHMARK(BM_SixteenPagesWhileDragging)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PageWeight(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(embeddedWeight());
    }
    state.counters["page_bytes"] = static_cast<double>(embeddedWeight());
}
BENCHMARK(BM_PageWeight)->Iterations(1);

} // namespace
