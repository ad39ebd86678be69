// The room and compressor panels at work: one drag step of the listener on a 1024 x 520
// floor plan with its layout write, the eight distance corrections and the repaint, and
// one repaint of the compressor panel after a threshold change.
#include "device/ReportSink.h"
#include "model/DeviceImage.h"
#include "room/RoomEditor.h"
#include "room/gui/CSSVolumePanel.h"
#include "widgets/CCompressPanelPlus.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Takes reports as the writer's queue does, without a processor behind it.
class CountingSink : public quilo::ReportSink {
public:
    int send(const quilo::Report&) override {
        ++count;
        return 61;
    }
    void pause(std::chrono::milliseconds) override {}
    long count = 0;
};

void floorPlanDragStep(benchmark::State& state) {
    auto image = std::make_unique<quilo::DeviceImage>();
    image->resetToDefaults();
    for (int ch = 0; ch < 8; ++ch) {
        image->params.outLocation[ch] = ch;
    }
    CountingSink sink;
    quilo::RoomEditor editor(*image, sink);
    quilo::CSSVolumePanel panel;
    panel.resize(1024, 520);
    panel.setLayout(editor.layout());
    QObject::connect(&panel, &quilo::CSSVolumePanel::entryDragged,
                     [&](int entry, quilo::RoomPoint at) { editor.setPosition(entry, at); });
    QImage frame(panel.size(), QImage::Format_ARGB32_Premultiplied);
    const quilo::PixelPoint start = panel.plan().pixel(0);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(start.x, start.y),
                      QPointF(start.x, start.y), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&panel, &press);
    int step = 0;
    for (auto _ : state) {
        const QPointF at(start.x + (step % 200) - 100, start.y + (step % 120) - 60);
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&panel, &move);
        panel.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["reports/step"] =
        benchmark::Counter(static_cast<double>(sink.count) / static_cast<double>(step));
}
BENCHMARK(floorPlanDragStep)->Unit(benchmark::kMicrosecond);

void compressorRepaint(benchmark::State& state) {
    quilo::CCompressPanelPlus panel;
    panel.resize(660, 470);
    panel.setLowerCorner(-90.0f);
    panel.setHighSlope(0.25f);
    QImage frame(panel.size(), QImage::Format_ARGB32_Premultiplied);
    panel.render(&frame); // builds the cached grid
    int threshold = 0;
    for (auto _ : state) {
        panel.setThreshold(static_cast<float>(-(threshold++ % 61)));
        panel.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(compressorRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
