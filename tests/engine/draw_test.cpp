#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <set>
#include <string>

#include "engine/bitmap_fixtures.h"
#include "engine/draw/font.h"
#include "engine/draw/surface.h"
#include "engine/draw/text.h"

namespace tarvik {
namespace {

using test_bitmaps::Rgb;
using test_bitmaps::ScratchFolder;
using test_bitmaps::SolidBitmap;

constexpr Rgba kOpaqueRed = 0xFF0000FFu;
constexpr Rgba kOpaqueWhite = 0xFFFFFFFFu;
constexpr Rgba kOpaqueBlack = 0xFF000000u;

int R(Rgba c) {
    return static_cast<int>(c & 0xFF);
}
int G(Rgba c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
int B(Rgba c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
int A(Rgba c) {
    return static_cast<int>(c >> 24);
}

Rgba MakeRgba(int r, int g, int b, int a) {
    return static_cast<Rgba>(r) | static_cast<Rgba>(g) << 8 | static_cast<Rgba>(b) << 16 |
           static_cast<Rgba>(a) << 24;
}

// Colours come back within the rounding of premultiplied storage.
void ExpectNear(Rgba actual, Rgba expected, int tolerance, const std::string& where) {
    EXPECT_NEAR(R(actual), R(expected), tolerance) << where << " red";
    EXPECT_NEAR(G(actual), G(expected), tolerance) << where << " green";
    EXPECT_NEAR(B(actual), B(expected), tolerance) << where << " blue";
    EXPECT_NEAR(A(actual), A(expected), tolerance) << where << " alpha";
}

// The straight RGBA of a 32-bit FreeImage pixel, y counted from the top.
Rgba BitmapPixel(const Bitmap& b, int x, int yFromTop) {
    const BYTE* p =
        FreeImage_GetScanLine(
            b.get(), static_cast<int>(FreeImage_GetHeight(b.get()) - 1 - static_cast<unsigned>(yFromTop))) +
        x * 4;
    return MakeRgba(p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE], p[FI_RGBA_ALPHA]);
}

std::set<Rgba> DistinctPixels(const Surface& s) {
    std::set<Rgba> colors;
    for (int y = 0; y < SurfaceHeight(s); ++y) {
        for (int x = 0; x < SurfaceWidth(s); ++x) {
            colors.insert(SurfacePixel(s, x, y));
        }
    }
    return colors;
}

TEST(Surface, NewSurfacesAreTransparentAndBadSizesGiveNone) {
    const Surface s = CreateSurface(7, 5);
    ASSERT_TRUE(s);
    EXPECT_EQ(SurfaceWidth(s), 7);
    EXPECT_EQ(SurfaceHeight(s), 5);
    EXPECT_EQ(DistinctPixels(s), std::set<Rgba>{0u});
    EXPECT_FALSE(CreateSurface(0, 5));
    EXPECT_FALSE(CreateSurface(5, -1));

    Surface resized = CreateSurface(3, 3);
    FillSurface(resized, kOpaqueRed);
    ASSERT_TRUE(ResizeSurface(resized, 12, 4));
    EXPECT_EQ(SurfaceWidth(resized), 12);
    EXPECT_EQ(DistinctPixels(resized), std::set<Rgba>{0u});
}

TEST(Surface, FillWritesAllFourChannelsAndTheBitmapGetsStraightAlpha) {
    const Rgba cases[] = {kOpaqueRed, MakeRgba(255, 0, 0, 128), MakeRgba(20, 200, 90, 64),
                          MakeRgba(0, 0, 0, 0)};
    for (const Rgba color : cases) {
        Surface s = CreateSurface(4, 3);
        FillSurface(s, kOpaqueWhite);
        ASSERT_TRUE(FillSurface(s, color));
        ExpectNear(SurfacePixel(s, 2, 1), color, 2, "surface");
        const Bitmap b = SurfaceToBitmap(s);
        ASSERT_TRUE(b);
        EXPECT_EQ(FreeImage_GetBPP(b.get()), 32u);
        ExpectNear(BitmapPixel(b, 3, 2), color, 2, "bitmap");
    }
}

TEST(Surface, BitmapRowsRunBottomUpAsFreeImageExpects) {
    Surface s = CreateSurface(6, 4);
    FillRectangle(s, 0, 0, 6, 1, kOpaqueRed);  // the top row only
    const Bitmap b = SurfaceToBitmap(s);
    RGBQUAD top{}, bottom{};
    FreeImage_GetPixelColor(b.get(), 0, 3, &top);  // FreeImage row 3 is the top
    FreeImage_GetPixelColor(b.get(), 0, 0, &bottom);
    EXPECT_EQ(top.rgbRed, 255);
    EXPECT_EQ(top.rgbReserved, 255);
    EXPECT_EQ(bottom.rgbReserved, 0);

    const Surface back = BitmapToSurface(b.get());
    ExpectNear(SurfacePixel(back, 0, 0), kOpaqueRed, 0, "round trip top");
    EXPECT_EQ(SurfacePixel(back, 0, 3), 0u);
}

TEST(Surface, PolygonEdgesAreAntiAliased) {
    Surface s = CreateSurface(20, 20);
    const std::array<PointF, 3> triangle{{{0, 0}, {20, 0}, {0, 20}}};
    ASSERT_TRUE(FillPolygon(s, triangle, kOpaqueRed));
    EXPECT_EQ(A(SurfacePixel(s, 2, 2)), 255);
    EXPECT_EQ(A(SurfacePixel(s, 18, 18)), 0);
    const int edge = A(SurfacePixel(s, 10, 9));  // the diagonal crosses this pixel
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, 255);
}

TEST(Surface, DrawingOneSurfaceOnAnother) {
    Surface red = CreateSurface(4, 4);
    FillSurface(red, kOpaqueRed);
    const struct {
        const char* name;
        Rgba base;
        int alpha;
        bool replace;
        Rgba expected;
    } cases[] = {
        {"blend onto transparent", 0u, 128, false, MakeRgba(255, 0, 0, 128)},
        {"blend onto opaque black", kOpaqueBlack, 128, false, MakeRgba(128, 0, 0, 255)},
        {"replace opaque black", kOpaqueBlack, 128, true, MakeRgba(255, 0, 0, 128)},
        {"replace with alpha 0", kOpaqueBlack, 0, true, 0u},
        {"blend with alpha 0", kOpaqueBlack, 0, false, kOpaqueBlack},
    };
    for (const auto& c : cases) {
        Surface target = CreateSurface(8, 8);
        FillSurface(target, c.base);
        c.replace ? CopySurfaceWithAlpha(target, red, 2, 2, c.alpha)
                  : DrawSurface(target, red, 2, 2, c.alpha);
        ExpectNear(SurfacePixel(target, 3, 3), c.expected, 2, c.name);
        EXPECT_EQ(SurfacePixel(target, 0, 0), c.base) << c.name << ": outside the source";
    }

    Surface half = CreateSurface(2, 2);
    FillSurface(half, MakeRgba(0, 0, 255, 100));
    Surface target = CreateSurface(3, 3);
    FillSurface(target, kOpaqueWhite);
    CopySurface(target, half, 1, 1);
    ExpectNear(SurfacePixel(target, 2, 2), MakeRgba(0, 0, 255, 100), 2, "copy unchanged");
    EXPECT_EQ(SurfacePixel(target, 0, 0), kOpaqueWhite);
}

TEST(Surface, GreyFilterWeighsTheChannelsAndKeepsAlpha) {
    const struct {
        Rgba in;
        int grey;
    } cases[] = {
        {MakeRgba(255, 255, 255, 255), 255}, {MakeRgba(255, 0, 0, 255), 76},
        {MakeRgba(0, 255, 0, 255), 149},     {MakeRgba(0, 0, 255, 255), 28},
        {MakeRgba(240, 40, 80, 90), 104},
    };
    for (const auto& c : cases) {
        const Rgba out = GreyFilter(c.in);
        EXPECT_EQ(R(out), c.grey);
        EXPECT_EQ(G(out), c.grey);
        EXPECT_EQ(B(out), c.grey);
        EXPECT_EQ(A(out), A(c.in));
    }
    Surface source = CreateSurface(2, 2);
    FillSurface(source, MakeRgba(255, 0, 0, 255));
    Surface target = CreateSurface(4, 4);
    ASSERT_TRUE(DrawSurfaceFiltered(target, source, 1, 1, GreyFilter));
    ExpectNear(SurfacePixel(target, 2, 2), MakeRgba(76, 76, 76, 255), 0, "filtered");
    EXPECT_EQ(SurfacePixel(target, 0, 0), 0u);
}

TEST(Surface, LoadsPictureFilesThroughFreeImage) {
    ScratchFolder folder;
    Bitmap png = SolidBitmap(5, 4, Rgb{10, 20, 30}, 32);
    for (unsigned x = 0; x < 5; ++x) {  // the top row half transparent
        RGBQUAD q{30, 20, 10, 128};
        FreeImage_SetPixelColor(png.get(), x, 3, &q);
    }
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, png.get(), (folder.Path() + "a.png").c_str(), 0));
    const Bitmap bmp = SolidBitmap(5, 4, Rgb{200, 100, 50});
    ASSERT_TRUE(FreeImage_Save(FIF_BMP, bmp.get(), (folder.Path() + "b.bmp").c_str(), 0));
    ASSERT_TRUE(
        FreeImage_Save(FIF_JPEG, bmp.get(), (folder.Path() + "c.jpg").c_str(), JPEG_QUALITYSUPERB));

    const struct {
        const char* file;
        unsigned bpp;
        Rgba top;
        Rgba bottom;
        int tolerance;
    } cases[] = {
        {"a.png", 32, MakeRgba(10, 20, 30, 128), MakeRgba(10, 20, 30, 255), 2},
        {"b.bmp", 24, MakeRgba(200, 100, 50, 255), MakeRgba(200, 100, 50, 255), 0},
        {"c.jpg", 24, MakeRgba(200, 100, 50, 255), MakeRgba(200, 100, 50, 255), 6},
    };
    for (const auto& c : cases) {
        const LoadedImage image = LoadImageSurface(folder.Path() + c.file);
        ASSERT_TRUE(image.surface) << c.file;
        EXPECT_EQ(image.bpp, c.bpp) << c.file;
        EXPECT_EQ(SurfaceWidth(image.surface), 5);
        EXPECT_EQ(SurfaceHeight(image.surface), 4);
        ExpectNear(SurfacePixel(image.surface, 1, 0), c.top, c.tolerance, c.file);
        ExpectNear(SurfacePixel(image.surface, 1, 3), c.bottom, c.tolerance, c.file);
    }
    EXPECT_FALSE(LoadImageSurface(folder.Path() + "missing.png").surface);
    ASSERT_TRUE(test_bitmaps::ReadBytes(folder.Path() + "a.png").size() > 0);
    FILE* junk = std::fopen((folder.Path() + "junk.png").c_str(), "wb");
    std::fputs("not a picture", junk);
    std::fclose(junk);
    EXPECT_FALSE(LoadImageSurface(folder.Path() + "junk.png").surface);
}

TEST(Font, FamiliesResolveToThemselvesOrToDeclaredSubstitutes) {
    const struct {
        const char* family;
        bool resolves;
    } cases[] = {
        {"Arial", true},       {"Liberation Sans", true}, {"DejaVu Sans", true},
        {"dejavu sans", true}, {"Times New Roman", true}, {"NoSuchFont", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontFamilyResolves(c.family), c.resolves) << c.family;
        EXPECT_EQ(static_cast<bool>(LoadFont({.family = c.family, .points = 14})), c.resolves)
            << c.family;
    }
    EXPECT_FALSE(LoadFont({.family = "Arial", .points = 0}));
    EXPECT_FALSE(LoadFont({.family = "Arial", .points = -3}));
}

class Text : public ::testing::Test {
  protected:
    Surface surface_ = CreateSurface(10, 10);
    Font font_ = LoadFont({.family = "Liberation Sans", .points = 14});
};

TEST_F(Text, PointsConvertAtNinetySixDotsPerInch) {
    ASSERT_TRUE(font_);
    // 14 points are 18.67 px; the line adds the font's ascent and descent.
    const TextSize size = MeasureText(surface_, font_, "Hg", true);
    EXPECT_GE(size.height, 20);
    EXPECT_LE(size.height, 23);
    const Font big = LoadFont({.family = "Liberation Sans", .points = 28});
    EXPECT_NEAR(MeasureText(surface_, big, "Hg", true).height, 2 * size.height, 2);
    EXPECT_EQ(MeasureText(surface_, font_, "", true).width, 0);
}

TEST_F(Text, StylesAndLengthChangeTheMeasure) {
    const TextSize plain = MeasureText(surface_, font_, "Watermark", false);
    const Font bold = LoadFont({.family = "Liberation Sans", .points = 14, .bold = true});
    EXPECT_GT(MeasureText(surface_, bold, "Watermark", false).width, plain.width);
    EXPECT_GT(MeasureText(surface_, font_, "Watermark text", false).width, plain.width);
    EXPECT_FALSE(MeasureText(surface_, Font(), "x", false).width > 0);
}

TEST_F(Text, WithoutAntiAliasingOnlyTheTwoColoursAppear) {
    const TextSize size = MeasureText(surface_, font_, "Quick Brown", false);
    ASSERT_TRUE(ResizeSurface(surface_, size.width, size.height));
    const Rgba text = MakeRgba(255, 255, 0, 200);
    const Rgba back = MakeRgba(0, 0, 128, 255);
    ASSERT_TRUE(DrawTextOnBackground(surface_, font_, "Quick Brown", 0, 0, text, back));
    const std::set<Rgba> colors = DistinctPixels(surface_);
    EXPECT_EQ(colors.size(), 2u);
    EXPECT_EQ(colors.count(back), 1u);
    for (const Rgba c : colors) {
        if (c != back) {
            ExpectNear(c, text, 1, "glyph");
        }
    }
}

TEST_F(Text, AntiAliasedGlyphsHaveIntermediateCoverage) {
    const TextSize size = MeasureText(surface_, font_, "Quick Brown", true);
    ASSERT_TRUE(ResizeSurface(surface_, size.width, size.height));
    ASSERT_TRUE(DrawTextAntialiased(surface_, font_, "Quick Brown", 0, 0, kOpaqueWhite));
    std::set<int> alphas;
    for (const Rgba c : DistinctPixels(surface_)) {
        alphas.insert(A(c));
    }
    EXPECT_TRUE(alphas.count(0) && alphas.count(255));
    EXPECT_GT(alphas.size(), 10u);
}

}  // namespace
}  // namespace tarvik
