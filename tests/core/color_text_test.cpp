#include "core/color_text.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

TEST(ColorText, ReadsSixHexDigitsAsRedGreenBlue) {
    const struct {
        const char* text;
        std::uint32_t expected;
    } cases[] = {
        {"FF0000", 0x0000FF}, {"00FF00", 0x00FF00}, {"0000ff", 0xFF0000},
        {"123456", 0x563412}, {"aBcDeF", 0xEFCDAB}, {"G01234", 0x341200},
        {"AG0000", 0x00000A}, {"F00", 0},           {"", 0},
        {"FF00000", 0},       {" FF000", 0x00F000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseColor(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(ColorText, AlphaTakesTheTopByteFromItsLowBits) {
    EXPECT_EQ(ParseColorAlpha("102030", 255), 0xFF302010u);
    EXPECT_EQ(ParseColorAlpha("102030", 0), 0x00302010u);
    EXPECT_EQ(ParseColorAlpha("102030", 0x180), 0x80302010u);
    EXPECT_EQ(ParseColorAlpha("bad", 255), 0xFF000000u);
}

}  // namespace
}  // namespace tarvik
