// The Z-Wave requests and memory reports the program sends, byte for byte, and
// the plug record's layout. Expected frames are written out in full; each
// checksum is FF xor the length, type and payload bytes.
#include "device/ReportHex.h"
#include "smarthome/PlugFrames.h"
#include "smarthome/PlugRecord.h"
#include "smarthome/ZwaveMemoryMap.h"

#include <gtest/gtest.h>

#include <string>

using namespace quilo;

namespace {

// The leading bytes of a report in hex; everything after them must be zero.
std::string head(const Report& r) {
    std::string full = formatReportHex(r);
    std::size_t end = full.size();
    while (end >= 3 && full.compare(end - 3, 3, " 00") == 0) {
        end -= 3;
    }
    return full.substr(0, end);
}

} // namespace

TEST(PlugFrames, EveryRequestWithItsChecksum) {
    struct Case {
        const char* what;
        Report report;
        const char* bytes;
    };
    const Case cases[] = {
        {"GetInitData", buildGetInitData(), "02 12 05 01 03 00 02 FE"},
        {"SetDefault", buildSetDefault(), "02 12 06 01 04 00 42 02 BB"},
        {"AddNodeStart", buildAddNodeStart(), "02 12 07 01 05 00 4A 01 30 81"},
        {"AddNodeStop", buildAddNodeStop(), "02 12 07 01 05 00 4A 05 00 B5"},
        {"RemoveNodeStart", buildRemoveNodeStart(), "02 12 07 01 05 00 4B 01 09 B9"},
        {"RemoveNodeStop after removal", buildRemoveNodeStop(RemoveStop::AfterRemoval),
         "02 12 06 01 04 00 4B 05 B5"},
        {"RemoveNodeStop cancelled", buildRemoveNodeStop(RemoveStop::Cancelled),
         "02 12 07 01 05 00 4B 05 00 B4"},
        {"SendAbort", buildSendAbort(), "02 12 05 01 03 00 13 EF"},
        // The callback id is 0x44 exactly for the infrared values 0x80-0xFE.
        {"off", buildSendBasicSet(2, 0), "02 12 0C 01 0A 00 13 02 03 20 01 00 25 43 A0"},
        {"switch on", buildSendBasicSet(2, 0xFF), "02 12 0C 01 0A 00 13 02 03 20 01 FF 25 43 5F"},
        {"0x7F", buildSendBasicSet(9, 0x7F), "02 12 0C 01 0A 00 13 09 03 20 01 7F 25 43 D4"},
        {"emit key 0", buildSendBasicSet(9, 0x80), "02 12 0C 01 0A 00 13 09 03 20 01 80 25 44 2C"},
        {"learn key 62", buildSendBasicSet(232, 0xFE),
         "02 12 0C 01 0A 00 13 E8 03 20 01 FE 25 44 B3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(head(c.report), c.bytes) << c.what;
    }
}

TEST(PlugFrames, RequestsByName) {
    for (const char* name : {"GetInitData", "SetDefault", "AddNodeStart", "AddNodeStop",
                             "RemoveNodeStart", "RemoveNodeStop", "SendAbort"}) {
        EXPECT_TRUE(buildZwaveRequest(name).has_value()) << name;
    }
    EXPECT_EQ(buildZwaveRequest("SendBasicSet", 9, 0x80), buildSendBasicSet(9, 0x80));
    EXPECT_EQ(buildZwaveRequest("RemoveNodeStop", 0, 0, RemoveStop::Cancelled),
              buildRemoveNodeStop(RemoveStop::Cancelled));
    EXPECT_FALSE(buildZwaveRequest("getinitdata").has_value());
    EXPECT_FALSE(buildZwaveRequest("").has_value());
}

TEST(PlugFrames, MemoryReportsOfRecordsAndScenes) {
    const PlugRecord lamp = PlugRecord::make(kSwitchPlug, u"Lamp");
    EXPECT_EQ(head(buildWritePlugRecord(2, lamp)),
              "02 13 00 38 1C 01 00 00 00 4C 00 61 00 6D 00 70");
    EXPECT_EQ(head(buildReadPlugRecord(232)), "02 14 19 60 1C");
    Scene scene{};
    scene[0] = {5, 99};
    scene[27] = {kDelayStep, 100};
    const std::string written = formatReportHex(buildWriteScene(5, scene));
    // 6524 + 5·56 = 6804 = 0x1A94, 56 bytes; the last step at bytes 59 and 60.
    EXPECT_EQ(written.substr(0, 20), "02 13 1A 94 38 05 63");
    EXPECT_EQ(written.substr(written.size() - 5), "F0 64");
    EXPECT_EQ(head(buildReadScene(0)), "02 14 19 7C 38");
    EXPECT_EQ(kZwaveMemoryBytes, 6860u);
}

TEST(PlugRecord, NameKeepsElevenUnitsAndNeverHalfACharacter) {
    PlugRecord r = PlugRecord::make(kDimmerPlug, u"Lamp");
    r.bytes[1] = 7; // reserved bytes are left alone by a new name
    r.setName(u"开关插座0123456789");
    EXPECT_EQ(r.name(), u"开关插座0123456");
    EXPECT_EQ(r.type(), kDimmerPlug);
    EXPECT_EQ(r.bytes[1], 7);
    EXPECT_EQ(r.bytes[26], 0) << "the twelfth unit is the terminating NUL";
    // A shorter name clears what the longer one left behind.
    r.setName(u"A");
    EXPECT_EQ(r.name(), u"A");
    EXPECT_TRUE(std::all_of(r.bytes.begin() + 6, r.bytes.end(), [](auto b) { return b == 0; }));
    // U+1F50C is two units; cut between them it is dropped whole.
    r.setName(u"0123456789\U0001F50C");
    EXPECT_EQ(r.name(), u"0123456789");

    // A record in memory may fill all twelve units: read up to there, no further.
    for (std::size_t i = 4; i < 28; i += 2) {
        r.bytes[i] = 'x';
    }
    EXPECT_EQ(r.name(), std::u16string(12, u'x'));

    EXPECT_EQ(checkPlugName(u""), PlugNameCheck::Empty);
    EXPECT_EQ(checkPlugName(u"01234567890"), PlugNameCheck::Fits);
    EXPECT_EQ(checkPlugName(u"012345678901"), PlugNameCheck::TooLong);
}
