// Every reply other than parameter values: identity texts, memory blocks, mode
// names, remote keys, machine settings, status and what is passed on.
#include "InboundHelpers.h"
#include "model/InboundDispatcher.h"

#include <gtest/gtest.h>

#include <memory>

using namespace quilo;
using namespace quilo::test;
using namespace std::literals;

namespace {

struct Replies : ::testing::Test {
    std::unique_ptr<DeviceImage> image = std::make_unique<DeviceImage>();
    RecordingEvents events;
    InboundDispatcher dispatcher{*image, events};

    void SetUp() override { image->resetToDefaults(); }

    // Feeds the reply and names the parts of the image it changed.
    std::vector<std::string> feed(const Report& r) {
        const ImageSnapshot before(*image);
        dispatcher.handleReport(r);
        return ImageSnapshot(*image).partsChanged(before);
    }
    using Parts = std::vector<std::string>;
};

// A memory reply: [2-3] address, [4] length, data from [5] (at most 56 bytes fit).
Report memoryReply(std::uint16_t address, std::uint8_t length, std::uint8_t firstData,
                   std::size_t dataBytes) {
    Report r = reply(0x86, {std::uint8_t(address >> 8), std::uint8_t(address), length});
    for (std::size_t i = 0; i < dataBytes && 5 + i < kReportSize; ++i) {
        r[5 + i] = static_cast<std::uint8_t>(firstData + i);
    }
    return r;
}

Report textReply(std::uint8_t code, std::string_view text) {
    Report r = reply(code, {});
    for (std::size_t i = 0; i < text.size() && 2 + i < kReportSize; ++i) {
        r[2 + i] = static_cast<std::uint8_t>(text[i]);
    }
    return r;
}

// A mode-name reply with UTF-16BE units and the length byte given.
Report nameReply(std::uint16_t address, std::uint8_t length, std::u16string_view units) {
    Report r = reply(0xDB, {std::uint8_t(address >> 8), std::uint8_t(address), length});
    for (std::size_t i = 0; i < units.size() && 6 + 2 * i < kReportSize; ++i) {
        r[5 + 2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
        r[6 + 2 * i] = static_cast<std::uint8_t>(units[i]);
    }
    return r;
}

} // namespace

TEST_F(Replies, SmallStateReplies) {
    EXPECT_EQ(feed(reply(0x07, {2})), Parts{"currentMode"});
    EXPECT_EQ(image->currentMode, 2);
    EXPECT_EQ(feed(reply(0x09, {})), Parts{"settingsChanged"});
    EXPECT_EQ(image->settingsChanged, 1);
    EXPECT_EQ(feed(reply(0x7F, {18})), Parts{"info"});
    EXPECT_EQ(image->info.protocolVersion, 18);

    EXPECT_EQ(feed(reply(0x92, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})), Parts{"machine"});
    const MachineSettingsBytes settings{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    EXPECT_EQ(image->machine.applied, settings);
    EXPECT_EQ(image->machine.edit, settings);

    EXPECT_EQ(feed(reply(0x0E, {1, 2, 3, 4, 5, 6, 0xF6, 4, 9, 10, 11, 12, 13, 14, 15, 16, 99})),
              Parts{"liveStatus"});
    const LiveStatusBytes status{1, 2, 3, 4, 5, 6, 0xF6, 4, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(image->liveStatus.load(), status);
}

TEST_F(Replies, UnknownCodesAndRequestsWithoutAnswerChangeNothing) {
    for (int code : {0x00, 0x03, 0x04, 0x05, 0x13, 0x61, 0x63, 0x85, 0x91, 0x95, 0xFF}) {
        Report r = reply(static_cast<std::uint8_t>(code), {});
        r.fill(0x5A);
        r[1] = static_cast<std::uint8_t>(code);
        EXPECT_TRUE(feed(r).empty()) << code;
    }
    EXPECT_TRUE(events.keys.empty() && events.frames.empty() && events.memory.empty());
}

TEST_F(Replies, ZwaveReportsArePassedOnWhole) {
    const Report frame = reply(0x12, {0x09, 0x01, 0x07, 0x00, 0x04, 0x00, 0x05, 0x03, 0x20});
    EXPECT_TRUE(feed(frame).empty());
    const Report memory = reply(0x14, {0x00, 0x38, 0x1C, 0xAA});
    EXPECT_TRUE(feed(memory).empty());
    ASSERT_EQ(events.frames.size(), 1u);
    EXPECT_EQ(events.frames[0], frame);
    ASSERT_EQ(events.memory.size(), 1u);
    EXPECT_EQ(events.memory[0], memory);
}

TEST_F(Replies, LearnedKeyIsStoredThenPassedOn) {
    EXPECT_EQ(feed(reply(0x60, {0x21, 5, 0x4C})), Parts{"remoteKeys"});
    EXPECT_EQ(image->remoteKeys[0], 0x21);
    EXPECT_EQ(image->remoteKeys[5], 0x4C);
    feed(reply(0x60, {0x22, 17, 0x10})); // the last byte of the table
    EXPECT_EQ(image->remoteKeys[17], 0x10);

    // An index past the table stores only byte 0; the code still goes on.
    const RemoteKeyTable before = image->remoteKeys;
    feed(reply(0x60, {0x23, 18, 0x77}));
    feed(reply(0x60, {0x23, 255, 0x78}));
    RemoteKeyTable expected = before;
    expected[0] = 0x23;
    EXPECT_EQ(image->remoteKeys, expected);
    EXPECT_EQ(events.keys, (std::vector<int>{0x4C, 0x10, 0x77, 0x78}));
}

TEST_F(Replies, RemoteTableReplyFillsTheFirstSixteenBytes) {
    image->remoteKeys[16] = 0xA0;
    image->remoteKeys[17] = 0xA1;
    feed(reply(0x62, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
    const RemoteKeyTable expected{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0xA0, 0xA1};
    EXPECT_EQ(image->remoteKeys, expected);
}

TEST_F(Replies, IdentityTextsStopAtZeroAndAreCutToTheirCapacity) {
    feed(textReply(0x80, "MIVRAX"));
    EXPECT_EQ(image->info.modelName, u"MIVRAX");
    feed(textReply(0x80, std::string(40, 'Q')));
    EXPECT_EQ(image->info.modelName, std::u16string(29, u'Q'));
    // 59 bytes to the end of the report, none of them zero.
    feed(textReply(0x80, std::string(59, 'Z')));
    EXPECT_EQ(image->info.modelName.size(), 29u);

    feed(textReply(0x81, "2013-05-20 rev b"));
    EXPECT_EQ(image->info.firmwareDateA, u"2013-05-20");
    feed(textReply(0x7E, std::string("2014\0-01-01", 11)));
    EXPECT_EQ(image->info.firmwareDateB, u"2014");
    feed(textReply(0x7E, "\xE9t\xE9"));
    EXPECT_EQ(image->info.firmwareDateB, u"\u00E9t\u00E9"); // one unit per byte
    feed(textReply(0x81, ""));
    EXPECT_EQ(image->info.firmwareDateA, u""); // cleared even when nothing follows
}

TEST_F(Replies, BlankBandStoreZeroesAllOfIt) {
    ASSERT_NE(image->eqBands, EqBandStore{}); // the defaults hold bands
    const auto blank = [](std::uint16_t address) {
        Report r = memoryReply(address, 56, 0, 0);
        r[5] = r[6] = 0xFF;
        return r;
    };
    EXPECT_EQ(feed(blank(0)), Parts{"eqBands"});
    EXPECT_EQ(image->eqBands, EqBandStore{});

    // A later piece whose first record reads blank: that record is blank, the rest of the
    // piece is data, and what earlier pieces brought stays.
    image->resetToDefaults();
    EqBandStore expected = image->eqBands;
    std::fill_n(expected.begin() + 56 * 11, 56, 0);
    feed(blank(56 * 11));
    EXPECT_EQ(image->eqBands, expected);

    // A one-byte reply has no second data byte to say "blank": it is data.
    image->resetToDefaults();
    expected = image->eqBands;
    expected[70] = 0xFF;
    Report r = memoryReply(70, 1, 0xFF, 1);
    r[6] = 0xFF;
    feed(r);
    EXPECT_EQ(image->eqBands, expected);
}

TEST_F(Replies, BandStorePiecesStayInsideTheStore) {
    EqBandStore expected = image->eqBands;
    for (std::size_t i = 0; i < 21; ++i) {
        expected[1232 + i] = static_cast<std::uint8_t>(1 + i);
    }
    EXPECT_EQ(feed(memoryReply(1232, 21, 1, 21)), Parts{"eqBands"});
    EXPECT_EQ(image->eqBands, expected);

    // 56 bytes at 1240: 13 land in the store, the rest is dropped, the room
    // block after it stays as it was.
    for (std::size_t i = 0; i < 13; ++i) {
        expected[1240 + i] = static_cast<std::uint8_t>(0x40 + i);
    }
    EXPECT_EQ(feed(memoryReply(1240, 56, 0x40, 56)), Parts{"eqBands"});
    EXPECT_EQ(image->eqBands, expected);

    // A length past what a report holds copies the 56 bytes there are.
    for (std::size_t i = 0; i < 56; ++i) {
        expected[i] = static_cast<std::uint8_t>(0x10 + i);
    }
    feed(memoryReply(0, 200, 0x10, 56));
    EXPECT_EQ(image->eqBands, expected);
}

TEST_F(Replies, SmallBlocksTakeAtMostTheirSize) {
    EXPECT_EQ(feed(memoryReply(1253, 56, 1, 56)), Parts{"roomGain"});
    for (std::size_t i = 0; i < kRoomGainBlockSize; ++i) {
        EXPECT_EQ(image->roomGain[i], 1 + i);
    }
    EXPECT_EQ(feed(memoryReply(1285, 20, 0x80, 20)), Parts{"roomLayout"});
    EXPECT_EQ(image->roomLayout[19], 0x80 + 19);
    EXPECT_EQ(feed(memoryReply(1305, 56, 0xC1, 56)), Parts{"micBoost"});
    EXPECT_EQ(image->micBoost, (MicBoostWord{0xC1, 0xC2}));

    // A shorter reply changes only its own bytes.
    feed(memoryReply(1253, 4, 0xE0, 4));
    EXPECT_EQ(image->roomGain[3], 0xE3);
    EXPECT_EQ(image->roomGain[4], 5);
}

TEST_F(Replies, MemoryAtOtherAddressesIsIgnored) {
    for (std::uint16_t address : {1254, 1284, 1286, 1304, 1306, 1307, 0x0F00, 0xFFFF}) {
        EXPECT_TRUE(feed(memoryReply(address, 56, 0x33, 56)).empty()) << address;
    }
}

TEST_F(Replies, ModeNamesAreUtf16BigEndianUpToAZero) {
    EXPECT_EQ(feed(nameReply(0x0F40, 56, u"Party\0xyz"sv)), Parts{"modeNames"});
    EXPECT_EQ(image->modeNames[1], u"Party");
    feed(nameReply(0x0FC0, 6, u"\u6A21\u5F0F\u56DB")); // three units, no zero
    EXPECT_EQ(image->modeNames[3], u"\u6A21\u5F0F\u56DB");
    // Odd length: the half unit at the end is not read.
    feed(nameReply(0x0F00, 5, u"ABC"));
    EXPECT_EQ(image->modeNames[0], u"AB");
    // 28 units without a zero: 24 kept. A length past the report reads what is there.
    feed(nameReply(0x0F80, 255, std::u16string(28, u'M')));
    EXPECT_EQ(image->modeNames[2], std::u16string(24, u'M'));
    // Length 0 clears the name.
    feed(nameReply(0x0F00, 0, u"Solo"));
    EXPECT_EQ(image->modeNames[0], u"");
}

TEST_F(Replies, BlankOrMisaddressedModeNamesChangeNothing) {
    EXPECT_TRUE(feed(nameReply(0x0F40, 56, u"\xFFFF\xFFFF")).empty());
    EXPECT_EQ(image->modeNames[1], u"Mode2");
    for (std::uint16_t address : {0x0F01, 0x0F20, 0x1000, 0x0000}) {
        EXPECT_TRUE(feed(nameReply(address, 10, u"Other")).empty()) << address;
    }
}
