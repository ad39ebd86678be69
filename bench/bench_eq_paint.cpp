// Full repaint of a 13-band output equaliser editor, 1200 x 500, into an offscreen image.
#include "widgets/CEqPanel.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void repaintOutputEditor(benchmark::State& state) {
    quilo::CEqPanel panel;
    panel.resize(1200, 500);
    panel.setPanelId(8);
    panel.setBandCount(13);
    for (int b = 0; b < 9; ++b) {
        panel.setBandType(b, quilo::Peaking);
        panel.setBandFrequency(b, 40.0f * static_cast<float>(b + 1) * static_cast<float>(b + 1));
        panel.setBandGain(b, static_cast<float>((b % 5) * 3 - 6));
    }
    panel.setBandFrequency(9, 90.0f);
    panel.bands().applyMenuType(9, quilo::HighPass);
    panel.setSelectedBand(9);
    QImage image(panel.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        panel.paintTo(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(repaintOutputEditor)->Unit(benchmark::kMillisecond);

} // namespace
