#include "engine/color.h"

#include <gtest/gtest.h>

#include "engine/bitmap_fixtures.h"

namespace tarvik {
namespace {

using test_bitmaps::Clone;
using test_bitmaps::EngineTest;
using test_bitmaps::GradientBitmap;
using test_bitmaps::kBlack;
using test_bitmaps::kRed;
using test_bitmaps::kWhite;
using test_bitmaps::PixelAt;
using test_bitmaps::Rgb;
using test_bitmaps::SamePixels;
using test_bitmaps::SolidBitmap;

Bitmap WhiteAt(unsigned bpp) {
    Bitmap white24 = SolidBitmap(16, 8, kWhite);
    switch (bpp) {
        case 1:
            return Bitmap(FreeImage_Threshold(white24.get(), 128));
        case 16:
            return Bitmap(FreeImage_ConvertTo16Bits565(white24.get()));
        case 48:
            return Bitmap(FreeImage_ConvertToRGB16(white24.get()));
        default:
            return SolidBitmap(16, 8, kWhite, bpp);
    }
}

class ColorTest : public EngineTest {
  protected:
    void Correction(int brightness, int contrast, float gamma, bool invert) {
        auto& a = Settings.Adjustment;
        a.DoImageColorCorrection = 1;
        a.ImageBrightness = brightness;
        a.ImageContrast = contrast;
        a.ImageGamma = gamma;
        a.ImageInvert = invert ? 1 : 0;
    }
};

TEST_F(ColorTest, NeutralCorrectionLeavesThePixels) {
    Correction(0, 0, 1.0f, false);
    const Bitmap original = GradientBitmap(64, 48);
    Bitmap work = Clone(original);
    FIBITMAP* const before = work.get();
    const Bitmap adjusted = AdjustColors(std::move(work));
    EXPECT_EQ(adjusted.get(), before);  // in place
    EXPECT_TRUE(SamePixels(adjusted.get(), original.get()));
}

TEST_F(ColorTest, InvertTurnsWhiteBlackAtEveryWorkingDepth) {
    const struct {
        unsigned bpp;
        unsigned expectedBpp;
        Rgb expected;
    } cases[] = {
        {24, 24, kBlack}, {32, 32, kBlack}, {1, 24, kBlack},  // below 8 bits: widened
        {48, 24, kBlack},                                     // above 32 bits: narrowed
        {16, 16, kWhite},                                     // no correction at 16 bits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bpp);
        Correction(0, 0, 1.0f, true);
        Bitmap source = WhiteAt(c.bpp);
        ASSERT_EQ(BitmapBpp(source), c.bpp);
        const Bitmap adjusted = AdjustColors(std::move(source));
        ASSERT_TRUE(adjusted);
        EXPECT_EQ(BitmapBpp(adjusted), c.expectedBpp);
        EXPECT_EQ(PixelAt(adjusted, 3, 2), c.expected);
    }
}

TEST_F(ColorTest, BrightnessAndGammaChangeThePixels) {
    const struct {
        int brightness, contrast;
        float gamma;
        bool brighter;
    } cases[] = {
        {50, 0, 1.0f, true}, {-50, 0, 1.0f, false}, {0, 0, 2.0f, true}, {0, 0, 0.5f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.brightness << " " << c.gamma);
        Correction(c.brightness, c.contrast, c.gamma, false);
        const Bitmap adjusted = AdjustColors(SolidBitmap(8, 8, Rgb{100, 100, 100}));
        ASSERT_TRUE(adjusted);
        const int grey = PixelAt(adjusted, 1, 1).g;
        EXPECT_EQ(grey > 100, c.brighter) << grey;
        EXPECT_NE(grey, 100);
    }
}

TEST_F(ColorTest, GreyscaleGivesAnEightBitGreyImage) {
    Settings.Adjustment.DoImageGreyscale = 1;
    for (const unsigned bpp : {24u, 32u, 48u}) {
        SCOPED_TRACE(bpp);
        Bitmap source = bpp == 48 ? Bitmap(FreeImage_ConvertToRGB16(SolidBitmap(8, 8, kRed).get()))
                                  : SolidBitmap(8, 8, kRed, bpp);
        const Bitmap grey = GreyscaleImage(std::move(source));
        ASSERT_TRUE(grey);
        EXPECT_EQ(BitmapBpp(grey), 8u);
        EXPECT_EQ(FreeImage_GetColorType(grey.get()), FIC_MINISBLACK);
        const Rgb p = PixelAt(grey, 4, 4);
        EXPECT_EQ(p.r, p.g);
        EXPECT_EQ(p.g, p.b);
        EXPECT_GT(p.r, 0);
        EXPECT_LT(p.r, 255);
    }
}

TEST_F(ColorTest, ThresholdLeavesOnlyBlackAndWhite) {
    Settings.Adjustment.DoImageThreshold = 1;
    Settings.Adjustment.ImageThreshold = 128;
    const Bitmap bw = ThresholdImage(GradientBitmap(64, 48));
    ASSERT_TRUE(bw);
    EXPECT_EQ(BitmapBpp(bw), 1u);
    int black = 0;
    int white = 0;
    for (unsigned y = 0; y < 48; ++y) {
        for (unsigned x = 0; x < 64; ++x) {
            const Rgb p = PixelAt(bw, x, y);
            ASSERT_TRUE(p == kBlack || p == kWhite) << p;
            (p == kBlack ? black : white) += 1;
        }
    }
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
}

TEST_F(ColorTest, ThresholdUsesOnlyTheLowByte) {
    Settings.Adjustment.DoImageThreshold = 1;
    const Bitmap original = GradientBitmap(32, 32);
    auto thresholded = [&](int level) {
        Settings.Adjustment.ImageThreshold = level;
        return ThresholdImage(Clone(original));
    };
    const Bitmap at0 = thresholded(0);
    const Bitmap at256 = thresholded(256);
    const Bitmap at128 = thresholded(128);
    const Bitmap at384 = thresholded(384);
    ASSERT_TRUE(at0 && at256 && at128 && at384);
    EXPECT_TRUE(SamePixels(at0.get(), at256.get()));
    EXPECT_TRUE(SamePixels(at128.get(), at384.get()));
    EXPECT_FALSE(SamePixels(at0.get(), at128.get()));
}

TEST_F(ColorTest, OffOrMissingBitmapPassesThrough) {
    Bitmap source = GradientBitmap(8, 8);
    FIBITMAP* const before = source.get();
    source = AdjustColors(std::move(source));
    source = GreyscaleImage(std::move(source));
    source = ThresholdImage(std::move(source));
    EXPECT_EQ(source.get(), before);

    Correction(10, 10, 1.5f, true);
    Settings.Adjustment.DoImageGreyscale = 1;
    Settings.Adjustment.DoImageThreshold = 1;
    EXPECT_FALSE(AdjustColors(Bitmap()));
    EXPECT_FALSE(GreyscaleImage(Bitmap()));
    EXPECT_FALSE(ThresholdImage(Bitmap()));
}

}  // namespace
}  // namespace tarvik
