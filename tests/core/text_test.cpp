#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/text.h"

namespace tarvik {
namespace {

TEST(NumberReaders, ConfigAndOptionIntegers) {
    struct Case {
        const char* text;
        int config;
        int option;
    };
    const Case cases[] = {
        {"12", 12, 12},
        {"  -7", -7, -7},
        {"+5", 5, 5},
        {"12px", 12, 12},
        {"", 0, 0},
        {"abc", 0, 0},
        {"$5A", 0, 90},
        {"-$10", 0, -16},
        {"%1010", 0, 10},
        {"%102", 0, 2},
        {"\t9", 0, 9},  // tabs are skipped by the option reader only
        {"99999999999", 2147483647, 2147483647},
        {"-99999999999", -2147483647 - 1, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadConfigInteger(c.text), c.config) << c.text;
        EXPECT_EQ(ReadOptionInteger(c.text), c.option) << c.text;
    }
}

TEST(NumberReaders, Floats) {
    EXPECT_FLOAT_EQ(ReadFloat("0.45"), 0.45f);
    EXPECT_FLOAT_EQ(ReadFloat("2"), 2.0f);
    EXPECT_FLOAT_EQ(ReadFloat("-1.5x"), -1.5f);
    EXPECT_FLOAT_EQ(ReadFloat("+3.25"), 3.25f);
    EXPECT_FLOAT_EQ(ReadFloat("abc"), 0.0f);
    EXPECT_FLOAT_EQ(ReadFloat("1e3"), 1.0f);  // no exponent syntax
    EXPECT_EQ(ReadFloat("+Infinity"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ReadFloat("-Infinity"), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(ReadFloat("NaN")));
    EXPECT_EQ(FormatFloat6(1.0f), "1.000000");
    EXPECT_EQ(FormatFloat2(0.456f), "0.46");
}

TEST(CaseInsensitiveText, ReplaceAndCount) {
    EXPECT_EQ(ReplaceAllNoCase("a %EOL% b %eol% c", "%eol%", "|"), "a | b | c");
    EXPECT_EQ(CountNoCase("%Eol%x%EOL%", "%eol%"), 2u);
    EXPECT_EQ(FindNoCase("Hello", "LL"), 2u);
    EXPECT_EQ(ReplaceAllNoCase("abc", "", "x"), "abc");
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
}

}  // namespace
}  // namespace tarvik
