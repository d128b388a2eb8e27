#include "engine/drawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/bitmap_fixtures.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using test_bitmaps::EngineTest;
using test_bitmaps::Rgb;
using test_bitmaps::SolidBitmap;

constexpr int kW = 100;
constexpr int kH = 80;
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kYellow{255, 255, 0};

// y counted from the top, as the bands are laid out.
Rgb At(const Bitmap& b, int x, int y) {
    return test_bitmaps::PixelAt(b, static_cast<unsigned>(x),
                                 FreeImage_GetHeight(b.get()) - 1 - static_cast<unsigned>(y));
}

void ExpectNear(const Rgb& actual, const Rgb& expected, int tolerance, const std::string& where) {
    EXPECT_NEAR(actual.r, expected.r, tolerance) << where << " " << actual;
    EXPECT_NEAR(actual.g, expected.g, tolerance) << where << " " << actual;
    EXPECT_NEAR(actual.b, expected.b, tolerance) << where << " " << actual;
}

class FrameTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        auto& f = Settings.Frame;
        f.DoFrame = 1;
        f.SolidTopColor = "FF0000";
        f.SolidRightColor = "00FF00";
        f.SolidBottomColor = "0000FF";
        f.SolidLeftColor = "FFFF00";
        f.SolidOpacity = 255;
    }
    static void Widths(int left, int right, int top, int bottom) {
        auto& f = Settings.Frame;
        f.SolidLeft = left;
        f.SolidRight = right;
        f.SolidTop = top;
        f.SolidBottom = bottom;
    }
};

struct Probe {
    int x;
    int y;
    Rgb expected;
};

// Half-opacity red over grey: (255 * 128 + 128 * 127) / 255 and so on.
constexpr Rgb kHalfRedOverGrey{191, 64, 64};

Bitmap OneBitWhite() {
    const Bitmap white = SolidBitmap(kW, kH, kWhite);
    return Bitmap(FreeImage_Threshold(white.get(), 128));
}

TEST_F(FrameTest, BandsCornersOpacityAndDepth) {
    const struct {
        const char* name;
        int type;
        int widths[4];  // left, right, top, bottom
        int opacity;
        bool oneBitInput;
        int tolerance;
        std::vector<Probe> probes;
    } cases[] = {
        {"four_bands",
         1,
         {10, 10, 10, 10},
         255,
         false,
         0,
         {{50, 5, kRed},
          {95, 40, kGreen},
          {50, 75, kBlue},
          {5, 40, kYellow},
          {50, 9, kRed},
          {50, 10, kGrey},
          {89, 40, kGrey},
          {50, 40, kGrey},
          {7, 2, kRed},
          {2, 7, kYellow},
          {92, 2, kRed},
          {97, 7, kGreen},
          {97, 72, kGreen},
          {92, 77, kBlue},
          {7, 77, kBlue},
          {2, 72, kYellow}}},
        {"half_opacity",
         1,
         {10, 10, 10, 10},
         128,
         false,
         3,
         {{50, 5, kHalfRedOverGrey}, {50, 40, kGrey}}},
        {"opacity_zero",
         1,
         {10, 10, 10, 10},
         0,
         false,
         0,
         {{50, 5, kGrey}, {5, 40, kGrey}, {0, 0, kGrey}, {50, 40, kGrey}}},
        {"top_only",
         1,
         {0, 0, 10, 0},
         255,
         false,
         0,
         {{0, 5, kRed},
          {99, 5, kRed},
          {0, 9, kRed},
          {99, 9, kRed},
          {50, 10, kGrey},
          {0, 40, kGrey},
          {99, 40, kGrey},
          {50, 79, kGrey}}},
        {"one_bit_input",
         1,
         {10, 10, 10, 10},
         255,
         true,
         0,
         {{50, 5, kRed}, {5, 40, kYellow}, {50, 40, kWhite}}},
        {"other_type", 2, {10, 10, 10, 10}, 255, true, 0, {{50, 5, kWhite}, {5, 40, kWhite}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings.Frame.DoFrame = static_cast<Byte>(c.type);
        Widths(c.widths[0], c.widths[1], c.widths[2], c.widths[3]);
        Settings.Frame.SolidOpacity = c.opacity;
        Bitmap input = c.oneBitInput ? OneBitWhite() : SolidBitmap(kW, kH, kGrey);
        const Bitmap out = FrameStep(std::move(input), kW, kH);
        ASSERT_TRUE(out);
        EXPECT_EQ(FreeImage_GetBPP(out.get()), 24u);
        EXPECT_EQ(FreeImage_GetWidth(out.get()), static_cast<unsigned>(kW));
        EXPECT_EQ(FreeImage_GetHeight(out.get()), static_cast<unsigned>(kH));
        for (const Probe& p : c.probes) {
            ExpectNear(At(out, p.x, p.y), p.expected, c.tolerance,
                       "at " + std::to_string(p.x) + "," + std::to_string(p.y));
        }
        test::SaveForViewing(out, "frame_" + std::string(c.name));
    }
}

TEST_F(FrameTest, TheCornerDiagonalIsSharedByTheTwoBands) {
    Widths(20, 20, 20, 20);
    const Bitmap out = FrameStep(SolidBitmap(kW, kH, kGrey), kW, kH);
    // Along the top-left corner's diagonal the colour turns from the top
    // band's to the left band's within a pixel, and the picture never shows.
    for (int i = 1; i < 19; ++i) {
        EXPECT_EQ(At(out, i + 1, i - 1), kRed) << i;
        EXPECT_EQ(At(out, i - 1, i + 1), kYellow) << i;
        const Rgb mid = At(out, i, i);
        EXPECT_EQ(mid.r, 255) << i;
        EXPECT_EQ(mid.b, 0) << i;
    }
}

TEST_F(FrameTest, TypeZeroLeavesTheBitmapAlone) {
    Settings.Frame.DoFrame = 0;
    Widths(10, 10, 10, 10);
    Bitmap grey = test_bitmaps::GreyBitmap(kW, kH);
    FIBITMAP* const before = grey.get();
    const Bitmap out = FrameStep(std::move(grey), kW, kH);
    EXPECT_EQ(out.get(), before);
    EXPECT_EQ(FreeImage_GetBPP(out.get()), 8u);
    EXPECT_FALSE(FrameStep(Bitmap(), kW, kH));
}

TEST_F(FrameTest, ColourTextsOfAnotherLengthGiveBlack) {
    Widths(10, 10, 10, 10);
    Settings.Frame.SolidTopColor = "FF00";
    const Bitmap out = FrameStep(SolidBitmap(kW, kH, kGrey), kW, kH);
    EXPECT_EQ(At(out, 50, 5), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(out, 95, 40), kGreen);
}

}  // namespace
}  // namespace tarvik
