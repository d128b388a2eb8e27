#include "engine/drawing.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "core/color_text.h"
#include "engine/bitmap_fixtures.h"
#include "engine/draw/surface.h"
#include "engine/frame.h"
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

// The frame as it was drawn before the bands were drawn alone: one layer of
// the image's size, the corner rectangles and four band polygons on it,
// faded as a whole and blended over the whole image.
Bitmap WholeLayerFrame(Bitmap image, int w, int h, const FrameSettings& s) {
    image = ConvertTo24Bits(std::move(image));
    Surface layer = CreateSurface(w, h);
    Surface faded = CreateSurface(w, h);
    const Rgba cT = ParseColorAlpha(s.SolidTopColor, 255);
    const Rgba cR = ParseColorAlpha(s.SolidRightColor, 255);
    const Rgba cB = ParseColorAlpha(s.SolidBottomColor, 255);
    const Rgba cL = ParseColorAlpha(s.SolidLeftColor, 255);
    const int L = s.SolidLeft, R = s.SolidRight, T = s.SolidTop, B = s.SolidBottom;
    FillRectangle(layer, 0, 0, L, T, cT);
    FillRectangle(layer, w - R, 0, R, T, cR);
    FillRectangle(layer, w - R, h - B, R, B, cB);
    FillRectangle(layer, 0, h - B, L, B, cL);
    const double W = w, H = h, l = L, r = R, t = T, b = B;
    const std::array<PointF, 4> top{{{0, 0}, {W, 0}, {W - r, t}, {l, t}}};
    const std::array<PointF, 4> right{{{W, 0}, {W, H}, {W - r, H - b}, {W - r, t}}};
    const std::array<PointF, 4> bottom{{{W, H}, {0, H}, {l, H - b}, {W - r, H - b}}};
    const std::array<PointF, 4> left{{{0, H}, {0, 0}, {l, t}, {l, H - b}}};
    FillPolygon(layer, top, cT);
    FillPolygon(layer, right, cR);
    FillPolygon(layer, bottom, cB);
    FillPolygon(layer, left, cL);
    DrawSurface(faded, layer, 0, 0, s.SolidOpacity);
    const Bitmap bands = SurfaceToBitmap(faded);
    return CompositeLayer(std::move(image), bands.get());
}

// The first differing pixel, or "" when both bitmaps hold the same bytes,
// size, depth and resolution.
std::string FirstDifference(const Bitmap& a, const Bitmap& b) {
    const unsigned w = FreeImage_GetWidth(a.get()), h = FreeImage_GetHeight(a.get());
    if (w != FreeImage_GetWidth(b.get()) || h != FreeImage_GetHeight(b.get()) ||
        FreeImage_GetBPP(a.get()) != FreeImage_GetBPP(b.get())) {
        return "size or depth";
    }
    if (FreeImage_GetDotsPerMeterX(a.get()) != FreeImage_GetDotsPerMeterX(b.get()) ||
        FreeImage_GetDotsPerMeterY(a.get()) != FreeImage_GetDotsPerMeterY(b.get())) {
        return "resolution";
    }
    const unsigned rowBytes = FreeImage_GetLine(a.get());
    for (unsigned y = 0; y < h; ++y) {
        const BYTE* ra = FreeImage_GetScanLine(a.get(), static_cast<int>(y));
        const BYTE* rb = FreeImage_GetScanLine(b.get(), static_cast<int>(y));
        for (unsigned i = 0; i < rowBytes; ++i) {
            if (ra[i] != rb[i]) {
                return "pixel " + std::to_string(i / 3) + "," + std::to_string(h - 1 - y);
            }
        }
    }
    return "";
}

// A picture with a resolution of its own, which a framed picture does not
// keep.
Bitmap Photo(int w, int h) {
    Bitmap photo = test_bitmaps::GradientBitmap(static_cast<unsigned>(w), static_cast<unsigned>(h));
    FreeImage_SetDotsPerMeterX(photo.get(), 11811);
    FreeImage_SetDotsPerMeterY(photo.get(), 11811);
    return photo;
}

TEST_F(FrameTest, BandsAloneGiveTheBytesOfTheWholeLayer) {
    const struct {
        int w, h;
    } sizes[] = {{100, 80}, {37, 23}, {1, 1}, {5, 300}, {640, 7}, {257, 255}};
    const std::array<int, 4> widthSets[] = {
        {0, 0, 0, 0},     {10, 10, 10, 10}, {3, 17, 0, 9},    {1, 2, 3, 4},
        {0, 0, 10, 0},    {60, 0, 50, 0},   {70, 70, 70, 70}, {0, 45, 0, 160},
        {200, 1, 300, 2}, {7, 500, 2, 1},   {13, 19, 11, 5},
    };
    for (const auto& size : sizes) {
        for (const auto& widths : widthSets) {
            for (int opacity : {255, 128, 1, 0}) {
                Widths(widths[0], widths[1], widths[2], widths[3]);
                Settings.Frame.SolidOpacity = opacity;
                const std::string where =
                    std::to_string(size.w) + "x" + std::to_string(size.h) + " widths " +
                    std::to_string(widths[0]) + "," + std::to_string(widths[1]) + "," +
                    std::to_string(widths[2]) + "," + std::to_string(widths[3]) + " opacity " +
                    std::to_string(opacity);
                const Bitmap expected =
                    WholeLayerFrame(Photo(size.w, size.h), size.w, size.h, Settings.Frame);
                const Bitmap actual = FrameStep(Photo(size.w, size.h), size.w, size.h);
                ASSERT_TRUE(actual) << where;
                EXPECT_EQ(FirstDifference(actual, expected), "") << where;
            }
        }
    }
}

// Widths at the ends of the integer range: the arithmetic must not
// overflow, and the picture is what the geometry says: a band wider than
// the image covers it, a negative one draws nothing and leaves its
// neighbours square-ended as a zero width does.
TEST_F(FrameTest, ExtremeWidthsAreDrawnAsTheirGeometrySays) {
    const struct {
        std::array<int, 4> extreme;  // left, right, top, bottom
        std::array<int, 4> same;     // widths giving the same picture
    } cases[] = {
        {{10, INT_MIN, 10, 10}, {10, -1, 10, 10}},
        {{INT_MIN, INT_MIN, INT_MIN, INT_MIN}, {-5, -5, -5, -5}},
        {{INT_MIN, 0, 10, INT_MIN}, {-1, 0, 10, -1}},
        {{10, 10, INT_MIN, 20}, {10, 10, -100, 20}},
    };
    for (const auto& c : cases) {
        Widths(c.extreme[0], c.extreme[1], c.extreme[2], c.extreme[3]);
        const Bitmap actual = FrameStep(Photo(kW, kH), kW, kH);
        Widths(c.same[0], c.same[1], c.same[2], c.same[3]);
        const Bitmap expected = WholeLayerFrame(Photo(kW, kH), kW, kH, Settings.Frame);
        ASSERT_TRUE(actual);
        EXPECT_EQ(FirstDifference(actual, expected), "") << c.extreme[0] << " " << c.extreme[1];
    }

    // Far wider than the image on every side: all of it is frame, and the
    // mitres meet along the diagonals as far as the picture reaches.
    Widths(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    const Bitmap full = FrameStep(SolidBitmap(kW, kH, kGrey), kW, kH);
    ASSERT_TRUE(full);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            ASSERT_NE(At(full, x, y), kGrey) << x << "," << y;
        }
    }
    Widths(INT_MAX, 0, INT_MAX, 0);
    const Bitmap topLeft = FrameStep(SolidBitmap(kW, kH, kGrey), kW, kH);
    EXPECT_EQ(At(topLeft, kW - 1, 0), kRed);
    EXPECT_EQ(At(topLeft, 0, kH - 1), kYellow);
    test::SaveForViewing(full, "frame_extreme_widths");
}

TEST_F(FrameTest, TheFramedPictureHasTheResolutionOfANewBitmap) {
    Widths(10, 10, 10, 10);
    const Bitmap out = FrameStep(Photo(kW, kH), kW, kH);
    const Bitmap fresh(FreeImage_Allocate(1, 1, 24));
    EXPECT_EQ(FreeImage_GetDotsPerMeterX(out.get()), FreeImage_GetDotsPerMeterX(fresh.get()));
    EXPECT_EQ(FreeImage_GetDotsPerMeterY(out.get()), FreeImage_GetDotsPerMeterY(fresh.get()));
}

}  // namespace
}  // namespace tarvik
