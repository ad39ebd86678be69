// The hidapi transport without hardware: inbound report layout and a closed handle.
#include "device/HidapiTransport.h"

#include <gtest/gtest.h>

using namespace quilo;

TEST(HidapiInbound, NumberedReportsArriveWithTheIdFirst) {
    unsigned char raw[61] = {0x02, 0x0E, 0x55};
    raw[60] = 0x77;
    const Report r = normaliseInboundReport(raw, 61);
    EXPECT_EQ(r[0], 0x02);
    EXPECT_EQ(r[1], 0x0E); // reply code
    EXPECT_EQ(r[2], 0x55);
    EXPECT_EQ(r[60], 0x77);
}

TEST(HidapiInbound, UnnumberedReportsAreMovedBehindAZeroId) {
    unsigned char raw[60] = {0x0E, 0x55};
    raw[59] = 0x77;
    const Report r = normaliseInboundReport(raw, 60);
    EXPECT_EQ(r[0], 0x00);
    EXPECT_EQ(r[1], 0x0E);
    EXPECT_EQ(r[2], 0x55);
    EXPECT_EQ(r[60], 0x77);
}

TEST(HidapiInbound, ShortLongAndEmptyReadsStayInsideTheReport) {
    const unsigned char shortRaw[3] = {0x02, 0x09, 0x01};
    Report r = normaliseInboundReport(shortRaw, 3);
    EXPECT_EQ(r[1], 0x09);
    EXPECT_EQ(r[2], 0x01);
    EXPECT_EQ(r[3], 0x00);

    unsigned char longRaw[64];
    for (int i = 0; i < 64; ++i) {
        longRaw[i] = static_cast<unsigned char>(i);
    }
    r = normaliseInboundReport(longRaw, 64);
    EXPECT_EQ(r[60], 60);

    EXPECT_EQ(normaliseInboundReport(longRaw, 0), Report{});
    EXPECT_EQ(normaliseInboundReport(nullptr, 61), Report{});
}

TEST(HidapiTransport, NothingOpenMeansReadsAndWritesFail) {
    HidapiTransport t;
    Report r{};
    EXPECT_EQ(t.read(r, std::chrono::milliseconds(1)), -1);
    EXPECT_EQ(t.write(r), -1);
    EXPECT_FALSE(t.attributes().has_value());
    EXPECT_FALSE(t.open("/dev/quilo-no-such-node"));
    EXPECT_EQ(t.read(r, std::chrono::milliseconds(1)), -1);
    t.close();
    t.close();
}

TEST(HidapiTransport, ListsEveryInterfaceOnce) {
    HidapiTransport t;
    auto paths = t.interfacePaths();
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(std::adjacent_find(paths.begin(), paths.end()), paths.end());
}
