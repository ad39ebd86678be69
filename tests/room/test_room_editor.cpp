// The room page's work without its widgets: what each edit stores and sends.
#include "device/RecordingSink.h"
#include "model/FieldSetters.h"
#include "room/RoomEditor.h"
#include "room/RoomText.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace quilo;
using quilo::test::reportOf;
using quilo::test::wordAt;

namespace {

// Header of the layout write (WriteMemory 1285, 20 bytes) and the gain block write.
constexpr std::uint8_t kLayoutWrite[] = {0x02, 0x85, 0x05, 0x05, 0x14};
constexpr std::uint8_t kGainWrite[] = {0x02, 0x85, 0x04, 0xE5, 0x20};

bool startsWith(const Report& r, std::span<const std::uint8_t> head) {
    return std::equal(head.begin(), head.end(), r.begin());
}

struct RoomEdits : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingSink sink;
    std::unique_ptr<RoomEditor> editor;

    void SetUp() override {
        image->resetToDefaults();
        // Output i drives location i, as the processor's factory setting does.
        for (int ch = 0; ch < 8; ++ch) {
            image->params.outLocation[ch] = ch;
        }
        editor = std::make_unique<RoomEditor>(*image, sink);
    }

    // The output channels whose room compensation was sent, in order; checks
    // that each is the gain block write followed by parameter 29 of its module.
    std::vector<int> correctedChannels(std::size_t from) const {
        const auto r = sink.reports();
        std::vector<int> out;
        for (std::size_t i = from; i + 1 < r.size(); i += 2) {
            EXPECT_TRUE(startsWith(r[i], kGainWrite)) << i;
            EXPECT_EQ(r[i + 1][1], 0x09);
            EXPECT_EQ(r[i + 1][4], 29);
            EXPECT_EQ(r[i + 1][5], 6);
            out.push_back(r[i + 1][3] - 5);
        }
        return out;
    }
};

} // namespace

TEST_F(RoomEdits, MovingALoudspeakerWritesTheLayoutThenCorrectsItsOutput) {
    // SBR (entry 6, location 3) to 2 m behind the listener.
    EXPECT_EQ(editor->setPosition(6, {0.0f, -2.0f}), 61);
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 3u);
    Report layoutWrite = reportOf({0x02, 0x85, 0x05, 0x05, 0x14});
    const RoomLayoutBlock block{4,    4,    0x80, 0x80, 0x8A, 0x0A, 0x80, 0x0A, 0x0A, 0x0A,
                                0x8A, 0x8A, 0x80, 0x8A, 0x80, 0x94, 0x85, 0x80, 0x05, 0x80};
    std::copy(block.begin(), block.end(), layoutWrite.begin() + 5);
    EXPECT_EQ(r[0], layoutWrite);
    EXPECT_EQ(image->roomLayout, block);
    EXPECT_EQ(correctedChannels(1), std::vector<int>{3});
    EXPECT_EQ(roomGainDb(image->roomGain, 3), -3.0f);
    // The level block of -3 dB: 10^(-3/20) first.
    EXPECT_EQ(wordAt(r[2], 6), 0x3F353BEFu);
}

TEST_F(RoomEdits, MovingTheListenerCorrectsAllEightInPlanOrder) {
    editor->setPosition(0, {1.0f, 0.0f});
    EXPECT_TRUE(startsWith(sink.reports()[0], kLayoutWrite));
    EXPECT_EQ(correctedChannels(1), (std::vector<int>{0, 5, 1, 2, 4, 3, 6, 7}));
    // R is at (1, 1): 1 m away; L at (-1, 1): sqrt(5) m; SR at (0.5, 0): 0.5 m.
    EXPECT_EQ(roomGainDb(image->roomGain, 1), 0.0f);
    EXPECT_EQ(roomGainDb(image->roomGain, 0), static_cast<float>(3.0 - 3.0 * std::sqrt(5.0f)));
    EXPECT_EQ(roomGainDb(image->roomGain, 7), 1.5f);

    sink.clear();
    editor->center();
    EXPECT_EQ(editor->layout().listener, (RoomPoint{0.0f, 0.0f}));
    EXPECT_EQ(correctedChannels(1).size(), 8u);
    EXPECT_EQ(roomGainDb(image->roomGain, 7), 1.5f);
}

TEST_F(RoomEdits, OnlyTheFirstOutputOfALocationIsCorrected) {
    image->params.outLocation[2] = 0; // CH 3 also on L, after CH 1
    image->params.outLocation[4] = 0; // nobody on SUB (location 4) any more
    editor->setPosition(1, {-1.0f, 0.0f});
    EXPECT_EQ(correctedChannels(1), std::vector<int>{0});
    EXPECT_EQ(roomGainDb(image->roomGain, 2), 0.0f);

    sink.clear();
    // The SUB moves: the layout is written, no gain changes.
    EXPECT_EQ(editor->setPosition(5, {0.0f, -2.0f}), 61);
    ASSERT_EQ(sink.reports().size(), 1u);
    EXPECT_TRUE(startsWith(sink.reports()[0], kLayoutWrite));
    EXPECT_EQ(editor->setSpeakerGain(4, 2.0f), 0);
    EXPECT_EQ(sink.reports().size(), 1u);
}

TEST_F(RoomEdits, BoxesAndSpinsHoldPositionsAndSizesWithinTheRoom) {
    // 7 typed into an X box of a 4 m wide room becomes +2.0 m.
    EXPECT_EQ(editor->editPosition(1, 7.0, -9.0), (RoomPoint{2.0f, -2.0f}));
    // What the page works with is what the block keeps: tenths of a metre.
    EXPECT_EQ(editor->editPosition(0, std::nan(""), 0.04), (RoomPoint{0.0f, 0.0f}));
    editor->setPosition(2, {std::nanf(""), -HUGE_VALF}); // never a NaN correction
    EXPECT_EQ(editor->layout().speakers[1], (RoomPoint{0.0f, 0.0f}));
    EXPECT_FALSE(std::isnan(roomGainDb(image->roomGain, 5)));
    EXPECT_EQ(editor->layout().listener.y, 0.0f); // not the 0.04 typed
    EXPECT_EQ(image->roomLayout[3], 0x80);        // a 0 is written 0x80

    // Odd sizes put the edge on a half metre; positions already outside stay.
    editor->setRoomSize(0, 12);
    EXPECT_EQ(editor->layout().roomWidth, 1);
    EXPECT_EQ(editor->layout().roomLength, 10);
    EXPECT_EQ(editor->layout().speakers[0], (RoomPoint{2.0f, -2.0f}));
    editor->setRoomSize(5, 3);
    EXPECT_EQ(editor->editPosition(8, -3.0, 1.6), (RoomPoint{-2.5f, 1.5f}));
    EXPECT_EQ(image->roomLayout[0], 5);
    EXPECT_EQ(image->roomLayout[1], 3);
    EXPECT_EQ(image->roomLayout[18], 0x99);
}

// Typed positions finer than tenths: the distances and corrections the page shows now are
// the ones it shows when it is opened again on the same image.
TEST_F(RoomEdits, ReopeningThePageChangesNoDistance) {
    const struct {
        int entry;
        double x, y;
    } typed[] = {{3, -0.55, 2.07}, {0, 0.33, -0.26}, {7, 1.96, -1.04}, {8, -0.05, 0.05}};
    for (const auto& t : typed) {
        const RoomPoint shown = editor->editPosition(t.entry, t.x, t.y);
        const RoomEditor reopened(*image, sink);
        EXPECT_EQ(reopened.layout().position(t.entry), shown) << t.entry;
        for (int k = 0; k < kSpeakerCount; ++k) {
            EXPECT_EQ(speakerCorrection(editor->layout(), k).distanceM,
                      speakerCorrection(reopened.layout(), k).distanceM)
                << t.entry << " speaker " << k;
        }
        // The correction sent is the one the reopened page computes (output i drives
        // location i).
        const int k = t.entry == 0 ? 0 : t.entry - 1;
        const int channel = kSpeakerLocationCodes[static_cast<std::size_t>(k)];
        EXPECT_NEAR(roomGainDb(image->roomGain, channel),
                    speakerCorrection(reopened.layout(), k).gainDb, 0.01)
            << t.entry;
    }
}

TEST_F(RoomEdits, ResetZeroesEveryOutputAndRestoresTheLayout) {
    for (int ch = 0; ch < 8; ++ch) {
        image->params.outLocation[ch] = 9; // even outputs on no location
    }
    FieldSetters(*image, sink).setRoomGain(6, 4.0f);
    editor->setPosition(0, {1.0f, 1.0f});
    editor->setRoomSize(9, 9);
    sink.clear();

    editor->reset();
    EXPECT_EQ(correctedChannels(0).size(), 8u);
    EXPECT_EQ(correctedChannels(0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(roomGainDb(image->roomGain, 6), 0.0f);
    EXPECT_EQ(editor->layout(), RoomLayout{});
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 17u);
    EXPECT_TRUE(startsWith(r[16], kLayoutWrite));
}

TEST_F(RoomEdits, LocateSendsTheChannelsLocationOrEight) {
    image->params.outLocation[3] = 6;
    EXPECT_EQ(editor->locate(3), 61);
    EXPECT_EQ(editor->stopLocate(), 61);
    EXPECT_EQ(editor->locate(8), 0);
    const auto r = sink.reports();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], reportOf({0x02, 0x09, 0x00, 0x04, 0x22, 0x01, 0x00, 0x00, 0x00, 0x06}));
    EXPECT_EQ(r[1], reportOf({0x02, 0x09, 0x00, 0x04, 0x22, 0x01, 0x00, 0x00, 0x00, 0x08}));
}

TEST(RoomText, BoxesReadTheirLeadingNumber) {
    struct Case {
        const char* text;
        double position;
        int size;
    };
    const Case cases[] = {
        {"+1.0m", 1.0, 1},
        {"-2.5m", -2.5, 1},
        {" 3 m", 3.0, 3},
        {"4m", 4.0, 4},
        {"4.7m", 4.7, 4},
        {"0", 0.0, 1},
        {"12", 12.0, 10},
        {"abc", 0.0, 1},
        {"", 0.0, 1},
        {"-.5", -0.5, 1},
        {".", 0.0, 1},
        {"1e1m", 10.0, 1},
        {"2e", 2.0, 2},
        {"nan", 0.0, 1},
        {"inf", 0.0, 1},
        {"1e999", 0.0, 1},
        {"-99999999999999999999", -1e20, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readPositionText(c.text), c.position) << c.text;
        EXPECT_EQ(readRoomSizeText(c.text), c.size) << c.text;
    }
    EXPECT_EQ(positionText(2.0), "+2.0m");
    EXPECT_EQ(positionText(-0.55), "-0.6m");
    EXPECT_EQ(roomSizeText(4), "4m");
    EXPECT_EQ(positionSpinValue(0.7f), 7);
    EXPECT_EQ(positionSpinValue(-0.25f), -2);
    EXPECT_EQ(positionSpinLimit(5), 25);
}
