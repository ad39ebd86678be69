// The music and microphone page: made and painted for the first time, and one tick of its
// 300 ms meter timer (live status copy, six meters, stream format label).
#include "gui/pages/PageHarness.h"
#include "pages/CDialogMusic.h"
#include "widgets/CPeakMeterCtrl.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using quilo::CDialogMusic;

// What the page area does with a new page: label, refresh, size, paint.
std::unique_ptr<CDialogMusic> makePage(quilo::test::PageHarness& h, QImage& canvas) {
    auto page = std::make_unique<CDialogMusic>(*h.context);
    h.context->applyTable(page.get(), CDialogMusic::kTemplate);
    page->applyLanguage(h.context->language());
    page->refreshFromImage();
    page->resize(canvas.size());
    QPainter painter(&canvas);
    page->render(&painter);
    return page;
}

void createMusicPage(benchmark::State& state) {
    quilo::test::PageHarness h;
    QImage canvas(1240, 560, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        auto page = makePage(h, canvas);
        benchmark::DoNotOptimize(canvas.constBits());
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(createMusicPage)->Unit(benchmark::kMillisecond);

void meterTick(benchmark::State& state) {
    quilo::test::PageHarness h;
    QImage canvas(1240, 560, QImage::Format_ARGB32_Premultiplied);
    auto page = makePage(h, canvas);
    quilo::LiveStatusBytes status{};
    std::uint8_t n = 0;
    for (auto _ : state) {
        // New levels every tick, as a playing processor reports them.
        state.PauseTiming();
        for (std::size_t i = 0; i < 6; ++i)
            status[i] = static_cast<std::uint8_t>((n + 10 * i) % 61);
        status[7] = static_cast<std::uint8_t>(n % 8);
        ++n;
        h.image->liveStatus.store(status);
        state.ResumeTiming();
        page->meterTick();
    }
}
BENCHMARK(meterTick)->Unit(benchmark::kMicrosecond);

// The same tick with the repaint of the two music meters it causes.
void meterTickWithRepaint(benchmark::State& state) {
    quilo::test::PageHarness h;
    QImage canvas(1240, 560, QImage::Format_ARGB32_Premultiplied);
    auto page = makePage(h, canvas);
    QImage meterCanvas(page->musicMeter(0).size(), QImage::Format_ARGB32_Premultiplied);
    quilo::LiveStatusBytes status{};
    std::uint8_t n = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < 6; ++i)
            status[i] = static_cast<std::uint8_t>((n + 10 * i) % 61);
        ++n;
        h.image->liveStatus.store(status);
        page->meterTick();
        for (int side = 0; side < 2; ++side) {
            QPainter painter(&meterCanvas);
            page->musicMeter(side).render(&painter);
        }
        benchmark::DoNotOptimize(meterCanvas.constBits());
    }
}
BENCHMARK(meterTickWithRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
