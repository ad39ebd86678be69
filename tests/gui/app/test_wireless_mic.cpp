// Wireless-microphone status lines: bars, frequency and the line texts.
#include "app/WirelessMicText.h"

#include <gtest/gtest.h>

using namespace quilo;

TEST(WirelessMicBars, RfAndAfThresholds) {
    // RF: more than 230, 210, 190, 170, 150 for 5..1 bars.
    EXPECT_EQ(rfBars(231), 5);
    EXPECT_EQ(rfBars(230), 4);
    EXPECT_EQ(rfBars(211), 4);
    EXPECT_EQ(rfBars(191), 3);
    EXPECT_EQ(rfBars(171), 2);
    EXPECT_EQ(rfBars(151), 1);
    EXPECT_EQ(rfBars(150), 0);
    // AF: at least 13, 10, 7, 4, 1.
    EXPECT_EQ(afBars(13), 5);
    EXPECT_EQ(afBars(12), 4);
    EXPECT_EQ(afBars(7), 3);
    EXPECT_EQ(afBars(4), 2);
    EXPECT_EQ(afBars(1), 1);
    EXPECT_EQ(afBars(0), 0);
}

TEST(WirelessMicBars, BatteryOnEightTimesTheByte) {
    EXPECT_EQ(batteryBars(202), 5); // 1616 > 1610
    EXPECT_EQ(batteryBars(201), 4); // 1608
    EXPECT_EQ(batteryBars(200), 4); // 1600
    EXPECT_EQ(batteryBars(196), 4); // 1568 > 1562
    EXPECT_EQ(batteryBars(195), 3); // 1560
    EXPECT_EQ(batteryBars(191), 3); // 1528 > 1524
    EXPECT_EQ(batteryBars(190), 2); // 1520: the range up to 1524 is split at 1408
    EXPECT_EQ(batteryBars(177), 2); // 1416
    EXPECT_EQ(batteryBars(176), 1); // 1408
    EXPECT_EQ(batteryBars(167), 1); // 1336
    EXPECT_EQ(batteryBars(166), 0); // 1328
    EXPECT_EQ(batteryBars(160), 0); // 1280
}

TEST(WirelessMicFrequency, ChannelToMegahertz) {
    EXPECT_EQ(frequencyText(0), "665.25MHz");
    EXPECT_EQ(frequencyText(12), "671.25MHz");  // k = 12
    EXPECT_EQ(frequencyText(13), "672.25MHz");  // k = 14
    EXPECT_EQ(frequencyText(76), "703.75MHz");  // k = 77
    EXPECT_EQ(frequencyText(77), "704.75MHz");  // k = 79
    EXPECT_EQ(frequencyText(100), "716.25MHz"); // k = 102
    EXPECT_EQ(frequencyText(101), "718.25MHz"); // k = 106
    EXPECT_EQ(frequencyText(199), "767.25MHz"); // k = 204
    EXPECT_EQ(frequencyText(200), "665.25MHz");
    EXPECT_EQ(frequencyText(250), "665.25MHz");
}

TEST(WirelessMicLinesText, BothMicrophonesInBothLanguages) {
    LiveStatusBytes s{};
    s[8] = 231;  // mic 1 RF: 5 bars
    s[9] = 4;    // AF: 2 bars
    s[10] = 13;  // 672.25 MHz
    s[11] = 200; // battery: 4 bars
    s[12] = 0;
    s[13] = 0;
    s[14] = 250;
    s[15] = 160;
    const WirelessMicLines m1 = wirelessMicLines(s, 0, 1);
    EXPECT_EQ(m1.rfAf, "RF:■■■■■ AF:■■______");
    EXPECT_EQ(m1.frequency, "Freq:672.25MHz");
    EXPECT_EQ(m1.battery, "Battary: ■■■■__");
    const WirelessMicLines m2 = wirelessMicLines(s, 1, 0);
    EXPECT_EQ(m2.rfAf, "RF:_________ AF:_________");
    EXPECT_EQ(m2.frequency, "频率:665.25MHz");
    EXPECT_EQ(m2.battery, "电   量:_________");
}
