// The output page: switching the page area to it (the page shown destroyed, the output page
// made, labelled, loaded and painted for the first time into an offscreen image), and one
// level-slider move with all eight channels linked, from the slider's notification until
// the eight reports are queued for the writer, on an emulated processor.
#include "app/PageHost.h"
#include "gui/pages/PageHarness.h"
#include "pages/CDialogOutput.h"
#include "ui/WindowFactories.h"
#include "widgets/CXBmpSlider.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>

#include <benchmark/benchmark.h>

using namespace quilo;

namespace {

void switchToOutputPage(benchmark::State& state) {
    test::PageHarness h;
    WindowFactories factories;
    registerWindows(factories);
    QWidget area;
    area.resize(1024, 520);
    PageHost host(area, factories, h.language, h.prompter);
    host.setContext(*h.context);
    host.show(PageKind::Output);
    QImage image(PageHost::kMinWidth, PageHost::kMinHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        host.show(PageKind::Output, static_cast<int>(state.iterations() % 8));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        host.current()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(switchToOutputPage)->Unit(benchmark::kMillisecond);

void levelMoveWithEightLinked(benchmark::State& state) {
    test::PageHarness h;
    if (!h.connect()) {
        state.SkipWithError("the emulated processor did not open");
        return;
    }
    CDialogOutput page(*h.context, 0);
    for (int ch = 1; ch < 8; ++ch)
        page.linkedBox(ch).setChecked(true);
    CXBmpSlider& slider = page.slider(CDialogOutput::kLevelSliderIds[0]);
    int position = 0;
    for (auto _ : state) {
        position = (position + 1) % 101;
        emit slider.sliderChanged(CDialogOutput::kLevelSliderIds[0], position);
    }
    state.SetItemsProcessed(state.iterations() * 8);
    h.settle();
}
BENCHMARK(levelMoveWithEightLinked)->Unit(benchmark::kMicrosecond);

} // namespace
