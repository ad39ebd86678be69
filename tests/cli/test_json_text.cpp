// The JSON text helpers of quiloctl.
#include "cli/JsonText.h"

#include <gtest/gtest.h>

using namespace quilo::cli;

TEST(JsonString, EscapesQuotesBackslashesAndControls) {
    EXPECT_EQ(jsonString("plain"), "\"plain\"");
    EXPECT_EQ(jsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(jsonString("l1\nl2\tx"), "\"l1\\nl2\\tx\"");
    EXPECT_EQ(jsonString(std::string_view("\x01\x1f\x7f\0", 4)),
              "\"\\u0001\\u001f\\u007f\\u0000\"");
}

TEST(JsonString, KeepsValidUtf8AndReplacesWhatIsNot) {
    EXPECT_EQ(jsonString("家庭影院 \xF0\x9F\x8E\xA4"), "\"家庭影院 \xF0\x9F\x8E\xA4\"");
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(jsonString("a\xFF"
                         "b"),
              "\"a" + fffd + "b\"");
    EXPECT_EQ(jsonString("\xE5\xAE"), "\"" + fffd + fffd + "\"");            // cut short
    EXPECT_EQ(jsonString("\xC0\xAF"), "\"" + fffd + fffd + "\"");            // overlong '/'
    EXPECT_EQ(jsonString("\xED\xA0\x80"), "\"" + fffd + fffd + fffd + "\""); // surrogate
    EXPECT_EQ(jsonString("\xF4\x90\x80\x80").size(), 2 + 4 * fffd.size());   // past U+10FFFF
}

TEST(JsonNumber, OnlyWhatJsonAccepts) {
    for (const char* ok : {"0", "-0", "12", "-1.5", "1e+10", "2.5E-3", "0.707000017"}) {
        EXPECT_TRUE(isJsonNumber(ok)) << ok;
    }
    for (const char* bad :
         {"", "-", "nan", "-inf", "inf", "+1", "01", ".5", "1.", "1e", "1e+", "0x10", "1 "}) {
        EXPECT_FALSE(isJsonNumber(bad)) << bad;
    }
}
