// One drag step on the floor plan without its repaint: the mouse mapped into the
// room, the layout block written and the distance corrections sent, all reports
// into a recording sink. The plan is 1024 x 520 pixels.
#include "device/RecordingSink.h"
#include "model/DeviceImage.h"
#include "room/FloorPlan.h"
#include "room/RoomEditor.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace quilo;

void dragStep(benchmark::State& state, int entry) {
    auto image = std::make_unique<DeviceImage>();
    image->resetToDefaults();
    for (int ch = 0; ch < 8; ++ch) {
        image->params.outLocation[ch] = ch;
    }
    RecordingSink sink;
    RoomEditor editor(*image, sink);
    FloorPlan plan;
    plan.setClientRect({0, 0, 1024, 520});
    plan.setLayout(editor.layout());
    plan.press(plan.pixel(entry));

    int step = 0;
    std::size_t reports = 0;
    for (auto _ : state) {
        // Back and forth across the room, one pixel per step.
        const int dx = step++ % 900;
        const PixelPoint mouse{62 + (dx < 450 ? 2 * dx : 1800 - 2 * dx), 100 + dx / 3};
        if (plan.move(mouse) == PlanNotice::Dragged) {
            editor.setPosition(plan.draggedEntry(), plan.position(plan.draggedEntry()));
        }
        reports = sink.entries().size();
        sink.clear();
    }
    benchmark::DoNotOptimize(image->roomGain);
    state.counters["reports"] = static_cast<double>(reports);
}

// A loudspeaker: the layout write and one correction (three reports).
void BM_DragLoudspeaker(benchmark::State& state) {
    dragStep(state, 3);
}
// The listener: the layout write and all eight corrections (seventeen reports).
void BM_DragListener(benchmark::State& state) {
    dragStep(state, 0);
}

} // namespace

BENCHMARK(BM_DragLoudspeaker)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragListener)->Unit(benchmark::kMicrosecond);
