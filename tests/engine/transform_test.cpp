#include "engine/transform.h"

#include <gtest/gtest.h>

#include "engine/bitmap_fixtures.h"
#include "engine/limits.h"

namespace tarvik {
namespace {

using test_bitmaps::Clone;
using test_bitmaps::EngineTest;
using test_bitmaps::GradientBitmap;
using test_bitmaps::GreyBitmap;
using test_bitmaps::kBlack;
using test_bitmaps::kRed;
using test_bitmaps::kWhite;
using test_bitmaps::PixelAt;
using test_bitmaps::Rgb;
using test_bitmaps::SolidBitmap;

class RotateTest : public EngineTest {
  protected:
    void Rotate(int type, int angle, const char* back = "000000") {
        Settings.Transform.DoImageRotation = 1;
        Settings.Transform.ImageRotationType = static_cast<Byte>(type);
        Settings.Transform.ImageRotation = angle;
        Settings.Transform.ImageRotationBackColor = back;
    }
};

TEST_F(RotateTest, SizeAndDepthByTypeAndAngle) {
    constexpr unsigned kLarger = 0;  // both sides grow
    const struct {
        const char* name;
        int type;
        int angle;
        unsigned bpp;
        unsigned width, height;  // expected; kLarger for a grown canvas
        unsigned expectedBpp;
        bool untouched;
    } cases[] = {
        {"simple 90", 0, 90, 24, 480, 640, 24, false},
        {"simple 45", 0, 45, 24, kLarger, kLarger, 24, false},
        {"simple 359", 0, 359, 24, kLarger, kLarger, 24, false},
        {"advanced 45", 1, 45, 24, 640, 480, 24, false},
        {"simple 90 on 32 bits", 0, 90, 32, 480, 640, 32, false},
        {"grey 30 widens", 0, 30, 8, kLarger, kLarger, 24, false},
        {"grey advanced 30 widens", 1, 30, 8, 640, 480, 24, false},
        {"unknown type only widens", 2, 30, 8, 640, 480, 24, false},
        {"angle 0", 0, 0, 8, 640, 480, 8, true},
        {"angle 360", 0, 360, 8, 640, 480, 8, true},
        {"negative angle", 0, -90, 8, 640, 480, 8, true},
        {"angle over 360", 1, 450, 24, 640, 480, 24, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rotate(c.type, c.angle);
        Bitmap source = c.bpp == 8 ? GreyBitmap(640, 480) : SolidBitmap(640, 480, kWhite, c.bpp);
        FIBITMAP* const before = source.get();
        const Bitmap rotated = RotateImage(std::move(source));
        ASSERT_TRUE(rotated);
        // A freed bitmap's address may be reused, so only sameness is telling.
        if (c.untouched) {
            EXPECT_EQ(rotated.get(), before);
        }
        EXPECT_EQ(BitmapBpp(rotated), c.expectedBpp);
        if (c.width == kLarger) {
            EXPECT_GT(BitmapWidth(rotated), 640u);
            EXPECT_GT(BitmapHeight(rotated), 480u);
        } else {
            EXPECT_EQ(BitmapWidth(rotated), c.width);
            EXPECT_EQ(BitmapHeight(rotated), c.height);
        }
    }
}

TEST_F(RotateTest, OffLeavesTheBitmap) {
    Rotate(0, 90);
    Settings.Transform.DoImageRotation = 0;
    Bitmap source = GreyBitmap(64, 48);
    FIBITMAP* const before = source.get();
    EXPECT_EQ(RotateImage(std::move(source)).get(), before);
}

TEST_F(RotateTest, SimpleRotationFillsCornersWithTheBackColour) {
    const struct {
        int angle;
        const char* back;
        Rgb corner;
    } cases[] = {
        {45, "FF0000", kRed},
        {45, "F00", kBlack},  // not six characters: black
        {45, "0000FF", Rgb{0, 0, 255}},
        {90, "FF0000", kWhite},  // a quarter turn uncovers nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.angle << " " << c.back);
        Rotate(0, c.angle, c.back);
        const Bitmap rotated = RotateImage(SolidBitmap(640, 480, kWhite));
        ASSERT_TRUE(rotated);
        const unsigned right = BitmapWidth(rotated) - 1;
        const unsigned top = BitmapHeight(rotated) - 1;
        EXPECT_EQ(PixelAt(rotated, 0, 0), c.corner);
        EXPECT_EQ(PixelAt(rotated, right, 0), c.corner);
        EXPECT_EQ(PixelAt(rotated, 0, top), c.corner);
        EXPECT_EQ(PixelAt(rotated, right, top), c.corner);
        EXPECT_EQ(PixelAt(rotated, right / 2, top / 2), kWhite);
    }
}

TEST_F(RotateTest, AdvancedRotationTurnsAboutTheCentre) {
    Rotate(1, 180);
    const Bitmap rotated = RotateImage(GradientBitmap(640, 480));
    ASSERT_TRUE(rotated);
    // Red rises and green rises along x and y; half a turn reverses both.
    EXPECT_GT(PixelAt(rotated, 10, 10).r, 240);
    EXPECT_GT(PixelAt(rotated, 10, 10).g, 240);
    EXPECT_LT(PixelAt(rotated, 629, 469).r, 15);
    EXPECT_LT(PixelAt(rotated, 629, 469).g, 15);
}

TEST(ResizeDimension, PixelsAsGivenPercentRoundedHalfToEven) {
    const struct {
        int value, unit, size, expected;
    } cases[] = {
        {50, 1, 641, 320},  // 320.5
        {50, 1, 643, 322},  // 321.5
        {50, 1, 480, 240}, {50, 1, 1, 0},       {50, 1, 3, 2},       {150, 1, 3, 4},
        {33, 1, 100, 33},  {200, 1, 640, 1280}, {800, 0, 4000, 800}, {-5, 0, 10, -5},
        {50, 2, 640, 0},   {50, -1, 640, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResizeDimension(c.value, c.unit, c.size), c.expected)
            << c.value << " unit " << c.unit << " of " << c.size;
    }
}

TEST_F(EngineTest, ResizeFilterFollowsTheOrderOfTheNames) {
    const struct {
        int setting;
        FREE_IMAGE_FILTER filter;
    } cases[] = {
        {0, FILTER_BOX},        {1, FILTER_BILINEAR}, {2, FILTER_BSPLINE}, {3, FILTER_BICUBIC},
        {4, FILTER_CATMULLROM}, {5, FILTER_LANCZOS3}, {6, FILTER_BICUBIC}, {-1, FILTER_BICUBIC},
    };
    for (const auto& c : cases) {
        Settings.Transform.ImageResizeAlgorithm = static_cast<Byte>(c.setting);
        EXPECT_EQ(ResizeFilter(), c.filter) << c.setting;
    }
}

TEST_F(EngineTest, ResizeBySizeUnitsAspectAndType) {
    const struct {
        const char* name;
        unsigned w, h;
        int tw, twUnit, th, thUnit;
        bool keep, largeOnly;
        unsigned ew, eh;
        bool untouched;
    } cases[] = {
        {"percent halves to even", 641, 480, 50, 1, 50, 1, false, false, 320, 240, false},
        {"pixels, no aspect", 640, 480, 100, 0, 300, 0, false, false, 100, 300, false},
        {"landscape keeps aspect", 1600, 1200, 800, 0, 100, 0, true, false, 800, 600, false},
        {"portrait keeps aspect", 1200, 1600, 100, 0, 800, 0, true, false, 600, 800, false},
        {"square uses the width", 500, 500, 250, 0, 999, 0, true, false, 250, 250, false},
        {"aspect rounds half up", 800, 200, 10, 0, 10, 0, true, false, 10, 3, false},
        {"enlarges", 64, 48, 200, 1, 200, 1, false, false, 128, 96, false},
        {"large only, smaller", 640, 480, 800, 0, 600, 0, false, true, 640, 480, true},
        {"large only, one side reaches", 640, 700, 800, 0, 600, 0, false, true, 800, 600, false},
        {"target equals size", 640, 480, 640, 0, 480, 0, false, false, 640, 480, true},
        {"zero width target", 640, 480, 0, 0, 300, 0, false, false, 640, 480, true},
        {"negative height target", 640, 480, 300, 0, -1, 0, false, false, 640, 480, true},
        {"unknown unit", 640, 480, 300, 2, 300, 0, false, false, 640, 480, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto& t = Settings.Transform;
        t.DoImageResize = 1;
        t.ImageWidth = c.tw;
        t.ImageWidthUnit = static_cast<Byte>(c.twUnit);
        t.ImageHeight = c.th;
        t.ImageHeightUnit = static_cast<Byte>(c.thUnit);
        t.KeepAspectRatio = c.keep ? 1 : 0;
        t.ImageResizeType = c.largeOnly ? 1 : 0;
        Bitmap source = SolidBitmap(c.w, c.h, kWhite);
        FIBITMAP* const before = source.get();
        const Bitmap resized =
            ResizeImage(std::move(source), static_cast<int>(c.w), static_cast<int>(c.h));
        ASSERT_TRUE(resized);
        if (c.untouched) {
            EXPECT_EQ(resized.get(), before);
        }
        EXPECT_EQ(BitmapWidth(resized), c.ew);
        EXPECT_EQ(BitmapHeight(resized), c.eh);
    }
}

// Sizes beyond the decode limit are refused before anything is allocated.
TEST_F(EngineTest, ResizingBeyondTheDecodeLimitFailsAtOnce) {
    auto& t = Settings.Transform;
    t.DoImageResize = 1;
    t.KeepAspectRatio = 0;
    t.ImageWidthUnit = t.ImageHeightUnit = 0;
    t.ImageWidth = 40000;
    t.ImageHeight = 40000;
    ConvertFailure failure = ConvertFailure::None;
    EXPECT_FALSE(ResizeImage(SolidBitmap(200, 100, {1, 2, 3}), 200, 100, &failure));
    EXPECT_EQ(failure, ConvertFailure::TooLarge);
}

TEST(DecodeLimit, TurnedImagesGrowToHoldTheirCorners) {
    const struct {
        std::uint64_t width, height;
        int degrees;
        bool fits;
    } cases[] = {
        {32768, 32768, 0, true},   {32768, 32768, 90, true},  {32768, 32768, 270, true},
        {32768, 32768, 360, true}, {32768, 32768, 45, false}, {32768, 32768, 1, false},
        {65536, 16384, 90, true},  {65536, 16384, 10, false}, {20000, 20000, 45, true},
        {23169, 23169, 45, true},  {23170, 23170, 45, false}, {1, 1, 45, true},
        {1u << 31, 1, 90, false},  {0, 10, 45, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitsDecodeLimitRotated(c.width, c.height, c.degrees), c.fits)
            << c.width << " x " << c.height << " at " << c.degrees;
    }
}

TEST_F(EngineTest, ResizeOffLeavesTheBitmap) {
    Settings.Transform.DoImageResize = 0;
    Settings.Transform.ImageWidth = 10;
    Settings.Transform.ImageHeight = 10;
    Bitmap source = SolidBitmap(64, 48, kWhite);
    FIBITMAP* const before = source.get();
    EXPECT_EQ(ResizeImage(std::move(source), 64, 48).get(), before);
}

TEST_F(EngineTest, FlipsMirrorAndBothTurnByHalf) {
    constexpr unsigned kW = 7;
    constexpr unsigned kH = 5;
    const struct {
        bool horizontal, vertical;
    } cases[] = {{true, false}, {false, true}, {true, true}, {false, false}};
    const Bitmap original = GradientBitmap(kW, kH);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "h " << c.horizontal << " v " << c.vertical);
        Settings.Transform.DoImageFlipHorizontal = c.horizontal ? 1 : 0;
        Settings.Transform.DoImageFlipVertical = c.vertical ? 1 : 0;
        const Bitmap flipped = Clone(original);
        FlipImage(flipped.get());
        for (unsigned y = 0; y < kH; ++y) {
            for (unsigned x = 0; x < kW; ++x) {
                const unsigned sx = c.horizontal ? kW - 1 - x : x;
                const unsigned sy = c.vertical ? kH - 1 - y : y;
                ASSERT_EQ(PixelAt(flipped, x, y), PixelAt(original, sx, sy)) << x << "," << y;
            }
        }
    }
}

TEST_F(EngineTest, TransformsPassAMissingBitmapAlong) {
    Settings.Transform.DoImageRotation = 1;
    Settings.Transform.ImageRotation = 90;
    Settings.Transform.DoImageResize = 1;
    Settings.Transform.ImageWidth = 10;
    Settings.Transform.ImageHeight = 10;
    Settings.Transform.DoImageFlipHorizontal = 1;
    EXPECT_FALSE(RotateImage(Bitmap()));
    EXPECT_FALSE(ResizeImage(Bitmap(), 640, 480));
    FlipImage(nullptr);
}

}  // namespace
}  // namespace tarvik
