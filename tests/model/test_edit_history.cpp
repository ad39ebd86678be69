// Undo and redo through the setters and band operations: every kind of user edit, taken
// back and done again against the emulated processor. After an undo the image and what the
// processor holds (parameter words, coefficients and memory) are what they were before the
// edit, byte for byte; after a redo what they were after it.
#include "device/InboundHandler.h"
#include "device/RecordingSink.h"
#include "emulator/HostSink.h"
#include "model/BandOps.h"
#include "model/EditHistory.h"
#include "model/FieldSetters.h"
#include "model/ModeFile.h"
#include "model/Synchroniser.h"
#include "room/RoomEditor.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

using namespace quilo;
using namespace quilo::test;

namespace {

struct IgnoreReplies : InboundHandler {
    void handleReport(const Report&) override {}
};

// What the image and the processor hold, as far as edits reach.
struct Snapshot {
    ModeContent image;
    ParamMap params;
    std::vector<std::uint8_t> memory;
    bool operator==(const Snapshot& o) const {
        return encodeModeFile(image) == encodeModeFile(o.image) && params == o.params &&
               memory == o.memory;
    }
};

struct Bench {
    EmulatorHarness h;
    IgnoreReplies replies;
    HostSink sink{h, replies};
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    std::unique_ptr<EditHistory> history;

    explicit Bench(std::size_t limit = EditHistory::kDefaultLimit) {
        image->resetToDefaults();
        // The processor starts out holding the image, so every later value has a before (the
        // volumes too: they go out only with volume recall).
        image->machine.applied[machine::kVolumeRecall] = 1;
        Synchroniser(*image, sink, kNoPauses).pushAll();
        history = std::make_unique<EditHistory>(*image, limit);
    }
    Snapshot snapshot() const {
        const auto& mem = h.emulator.state().memory;
        return {captureModeContent(*image),
                h.emulator.state().params,
                {mem.begin(), mem.begin() + kModeMemorySize}};
    }
};

struct EditCase {
    const char* name;
    std::function<void(DeviceImage&, ReportSink&)> edit;
};

const EditCase kEdits[] = {
    {"slider drag on a volume",
     [](DeviceImage& im, ReportSink& s) {
         FieldSetters set(im, s);
         for (int v : {10, 20, 35, 47}) {
             set.set(&DspParams::micVolume, v);
         }
     }},
    {"shifter and its off flag",
     [](DeviceImage& im, ReportSink& s) { FieldSetters(im, s).set(&DspParams::shiftFreqA, 1); }},
    {"channel delay",
     [](DeviceImage& im, ReportSink& s) {
         FieldSetters(im, s).set(&DspParams::outDelayMs, 3, 7.25);
     }},
    {"delay mode with its split bands",
     [](DeviceImage& im, ReportSink& s) {
         FieldSetters(im, s).set(&DspParams::outDelayMode, 2, 1);
     }},
    {"music unmute ramp and switches",
     [](DeviceImage& im, ReportSink& s) {
         FieldSetters set(im, s);
         set.set(&DspParams::musicMute, 1);
         set.set(&DspParams::outEqSwitch, 0, 1);
         set.set(&DspParams::micBoostOn, 1);
     }},
    {"band drag on linked channels",
     [](DeviceImage& im, ReportSink& s) {
         BandOps ops(im, s);
         for (float g : {1.0f, 2.5f, 4.0f}) {
             for (int eq : {8, 12}) {
                 ops.applyBand(eq, 3, 1, g, 900.0f + 50.0f * g, 2.2f);
             }
         }
     }},
    {"pasted equaliser",
     [](DeviceImage& im, ReportSink& s) {
         BandOps ops(im, s);
         ops.applyBand(0, 9, 5, 6.0f, 9000.0f, 0.9f);
         ops.copyEq(0, 7);
     }},
    {"reset of an equaliser and the boost band",
     [](DeviceImage& im, ReportSink& s) {
         BandOps ops(im, s);
         ops.resetEq(2);
         ops.applyBoostBand(2, 0.0f, 120.0f, 0.707f);
     }},
    {"microphone boost and room compensation",
     [](DeviceImage& im, ReportSink& s) {
         FieldSetters set(im, s);
         set.setMicBoost(-12.0f);
         set.setRoomGain(5, -4.5f);
     }},
    {"room layout moved",
     [](DeviceImage& im, ReportSink& s) {
         RoomEditor room(im, s);
         room.editPosition(0, 1.0, -0.5);
     }},
};

} // namespace

TEST(EditHistory, UndoAndRedoRestoreImageAndProcessorExactly) {
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.name);
        Bench b;
        const Snapshot before = b.snapshot();
        c.edit(*b.image, b.sink);
        b.history->closeStep();
        const Snapshot after = b.snapshot();
        ASSERT_FALSE(before == after);
        EXPECT_EQ(b.history->undoSteps(), 1u);

        ASSERT_TRUE(b.history->undo(b.sink));
        const Snapshot undone = b.snapshot();
        EXPECT_TRUE(undone == before);
        EXPECT_EQ(encodeModeFile(undone.image), encodeModeFile(before.image));
        EXPECT_EQ(undone.memory, before.memory);
        for (const auto& [key, words] : before.params) {
            EXPECT_EQ(undone.params.at(key), words) << int(key.module) << "/" << int(key.param);
        }
        EXPECT_FALSE(b.history->canUndo());
        ASSERT_TRUE(b.history->redo(b.sink));
        EXPECT_TRUE(b.snapshot() == after);
        // Restoring records nothing of its own.
        EXPECT_EQ(b.history->undoSteps(), 1u);
        EXPECT_FALSE(b.history->stepOpen());
    }
}

TEST(EditHistory, StepsFollowTheUsersActions) {
    Bench b(3);
    FieldSetters set(*b.image, b.sink);
    const auto volume = [&] { return b.image->params.musicVolume; };

    // A change that ends where it began is no step.
    ASSERT_EQ(volume(), 0);
    set.set(&DspParams::musicVolume, 40);
    set.set(&DspParams::musicVolume, 0);
    b.history->closeStep();
    EXPECT_FALSE(b.history->canUndo());

    // Four actions, three kept: the oldest is forgotten.
    for (int v : {10, 20, 30, 40}) {
        set.set(&DspParams::musicVolume, v);
        b.history->closeStep();
    }
    EXPECT_EQ(b.history->undoSteps(), 3u);
    EXPECT_TRUE(b.history->undo(b.sink));
    EXPECT_TRUE(b.history->undo(b.sink));
    EXPECT_TRUE(b.history->undo(b.sink));
    EXPECT_FALSE(b.history->undo(b.sink));
    EXPECT_EQ(volume(), 10);

    // A new action forgets what could be redone; an open step is undone as a whole.
    EXPECT_EQ(b.history->redoSteps(), 3u);
    set.set(&DspParams::musicVolume, 55);
    set.set(&DspParams::musicVolume, 66);
    EXPECT_TRUE(b.history->canUndo());
    EXPECT_FALSE(b.history->canRedo());
    EXPECT_TRUE(b.history->undo(b.sink));
    EXPECT_EQ(volume(), 10);
    EXPECT_EQ(b.history->redoSteps(), 1u);

    b.history->clear();
    EXPECT_FALSE(b.history->canUndo());
    EXPECT_FALSE(b.history->canRedo());
}

TEST(EditHistory, RecordsOnlyTheOwningThreadWhileItOwnsTheImage) {
    Bench b;
    // A synchronisation run owns the image: its sends are no user edits, and nothing may be
    // restored meanwhile.
    b.image->owner = ImageOwner::Sync;
    FieldSetters(*b.image, b.sink).set(&DspParams::echoVolume, 33);
    b.history->closeStep();
    EXPECT_FALSE(b.history->canUndo());
    b.image->owner = ImageOwner::Main;

    // Another thread (a worker) is never recorded.
    RecordingSink elsewhere;
    std::thread([&] { FieldSetters(*b.image, elsewhere).set(&DspParams::echoVolume, 44); }).join();
    b.history->closeStep();
    EXPECT_FALSE(b.history->canUndo());

    FieldSetters(*b.image, b.sink).set(&DspParams::echoVolume, 55);
    b.image->owner = ImageOwner::Sync;
    EXPECT_FALSE(b.history->undo(b.sink));
    b.image->owner = ImageOwner::Main;
    EXPECT_TRUE(b.history->undo(b.sink));
    EXPECT_EQ(b.image->params.echoVolume, 44);

    // Without a history the setters record nothing and the image forgets it once it is gone.
    b.history.reset();
    EXPECT_EQ(b.image->edits.load(), nullptr);
}
