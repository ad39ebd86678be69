// The program as the processor's owner for scripts: what a client sets goes through the
// setters as one undo step and shows at once; a refused one changes nothing; without a
// session bus the program says once that scripts cannot reach it.
#include "AppHarness.h"
#include "app/ProgramBus.h"
#include "app/Texts.h"
#include "model/ImageDiff.h"

#include <QLabel>
#include <QSlider>

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

TEST(ProgramBus, AClientsChangeIsOneUndoStepAndARefusedOneChangesNothing) {
    // No bus to be found, whatever the machine running the test has.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quilo-test-bus");
    AppHarness h(true, kEnglish);
    h.start();
    ASSERT_TRUE(h.app->connected());
    ProgramBus bus(*h.app, *h.app->mainFrame(), true);
    pump(50);
    EXPECT_EQ(h.status().hintPane()->text(), text::kNoBusService.pick(kEnglish));

    h.drain();
    UndoController& undo = h.view().undo();
    undo.clear();
    // The user's own edit, still open when the client's change comes.
    QSlider* music = h.ribbon().slider(ribbon::Slider::Music, ribbon::kInput);
    const int userMusic = music->value() == 20 ? 21 : 20;
    music->setValue(userMusic);
    const std::int32_t before = h.image().params.micVolume;
    ASSERT_NE(before, 37);
    h.clearReceived();
    EXPECT_EQ(bus.setField(FieldRef{"micVolume", {}}, 37, QStringLiteral("quiloctl")), "");
    h.drain();
    EXPECT_EQ(h.image().params.micVolume, 37);
    EXPECT_FALSE(h.received().empty()); // sent, as the slider sends it
    EXPECT_EQ(h.ribbon().slider(ribbon::Slider::Mic, ribbon::kInput)->value(), 37);

    // Each refusal says why and leaves the image, the processor and the history as they were.
    h.clearReceived();
    const std::vector<std::string> changed = modeFieldLines(h.image());
    const FieldRef refused[] = {{"noSuchField", {}}, {"outLevel", {}}, {"outLevel", 8},
                                {"outLevel", -1},    {"micVolume", 0}, {"roomGain", 8}};
    for (const FieldRef& field : refused) {
        EXPECT_NE(bus.setField(field, 1, QStringLiteral("quiloctl")), "")
            << field.name << '[' << field.index.value_or(-99) << ']';
    }
    h.drain();
    EXPECT_EQ(modeFieldLines(h.image()), changed);
    EXPECT_TRUE(h.received().empty());

    // One step takes the client's change back, and only that; the user's edit is a step
    // of its own.
    ASSERT_TRUE(undo.canUndo());
    EXPECT_TRUE(undo.undo());
    h.drain();
    EXPECT_EQ(h.image().params.micVolume, before);
    EXPECT_EQ(h.image().params.musicVolume, userMusic);
    EXPECT_TRUE(undo.undo());
    EXPECT_NE(h.image().params.musicVolume, userMusic);
    EXPECT_FALSE(undo.canUndo());
}
