// The program as the processor's owner for scripts: what a client sets goes through the
// setters as one undo step and shows at once; a refused one changes nothing; without a
// session bus the program says once that scripts cannot reach it.
#include "AppHarness.h"
#include "app/ProgramBus.h"
#include "model/ImageDiff.h"
#include "ui/Texts.h"

#include <QLabel>
#include <QSlider>

#include <optional>

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

TEST(ProgramBus, AClientsLongCallsRunOneAtATimeUnderTheWindowsProgress) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quilo-test-bus");
    AppHarness h(true, kEnglish);
    h.start();
    ASSERT_TRUE(h.app->connected());
    ProgramBus bus(*h.app, *h.app->mainFrame(), true);
    h.drain();

    // A recall: the processor switches and everything is read back; meanwhile a second
    // call is refused as busy and the window shows its progress dialog.
    std::optional<std::string> recalled;
    ASSERT_EQ(bus.recallMode(2, [&](const std::string& p) { recalled = p; }),
              ServiceBackend::LongStart::Started);
    EXPECT_EQ(bus.storeMode(1, [](const std::string&) { ADD_FAILURE() << "answered"; }),
              ServiceBackend::LongStart::Busy);
    waitUntil([&] { return h.app->syncDialog() != nullptr || recalled.has_value(); }, 3000);
    EXPECT_TRUE(h.app->syncDialog() != nullptr || recalled.has_value());
    waitUntil([&] { return recalled.has_value(); }, 5000);
    ASSERT_TRUE(recalled.has_value());
    EXPECT_EQ(*recalled, "");
    EXPECT_EQ(h.image().currentMode, 2);
    EXPECT_EQ(h.app->session().emulator()->state().currentMode, 2);

    // Once it is over the next one goes, and its answer comes once the processor has it.
    std::optional<std::string> stored;
    waitUntil([&] { return h.app->syncDialog() == nullptr && !h.app->session().sync().busy(); },
              3000);
    ASSERT_EQ(bus.storeMode(3, [&](const std::string& p) { stored = p; }),
              ServiceBackend::LongStart::Started);
    waitUntil([&] { return stored.has_value(); }, 3000);
    EXPECT_EQ(stored, std::optional<std::string>(""));
    h.drain();
    EXPECT_EQ(h.app->session().emulator()->state().currentMode, 3);
}
