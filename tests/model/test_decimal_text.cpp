// Numbers as the tool's arguments and filter texts give them: one optional sign,
// a point, nothing around them.
#include "model/DecimalText.h"

#include <gtest/gtest.h>

#include <optional>

using namespace quilo;

TEST(DecimalText, OneOptionalSignAndNothingAround) {
    struct Case {
        const char* text;
        std::optional<double> decimal;
        std::optional<long> whole;
    };
    const Case cases[] = {
        {"5", 5.0, 5},      {"+5", 5.0, 5},   {"-5", -5.0, -5},
        {"+-5", {}, {}},    {"-+5", {}, {}},  {"++5", {}, {}},
        {"--5", {}, {}},    {"+", {}, {}},    {"", {}, {}},
        {"-2.5", -2.5, {}}, {"+.5", 0.5, {}}, {"1e3", 1000.0, {}},
        {"1,5", {}, {}},    {" 5", {}, {}},   {"5 ", {}, {}},
        {"inf", {}, {}},    {"nan", {}, {}},  {"1e999", {}, {}},
        {"0x10", {}, {}},   {"007", 7.0, 7},  {"99999999999999999999", 1e20, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseDecimal(c.text), c.decimal) << c.text;
        EXPECT_EQ(parseWholeNumber(c.text), c.whole) << c.text;
    }
}
