#include "engine/watermark.h"
#include "engine/conversion.h"
#include "engine/drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/job.h"
#include "engine/bitmap_fixtures.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using test_bitmaps::Clone;
using test_bitmaps::EngineTest;
using test_bitmaps::Rgb;
using test_bitmaps::SamePixels;
using test_bitmaps::ScratchFolder;
using test_bitmaps::SolidBitmap;

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kWhite{255, 255, 255};

// y counted from the top, as positions are measured.
Rgb At(const Bitmap& b, int x, int y) {
    return test_bitmaps::PixelAt(b, static_cast<unsigned>(x),
                                 FreeImage_GetHeight(b.get()) - 1 - static_cast<unsigned>(y));
}

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// The smallest rectangle holding every pixel that is not the background.
struct Box {
    int left = -1;
    int top = -1;
    int right = -1;
    int bottom = -1;
    bool Empty() const { return left < 0; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "box(" << b.left << "," << b.top << " .. " << b.right << "," << b.bottom << ")";
}

template <class Pred>
Box BoxWhere(const Bitmap& b, Pred pred) {
    Box box;
    const int w = static_cast<int>(FreeImage_GetWidth(b.get()));
    const int h = static_cast<int>(FreeImage_GetHeight(b.get()));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!pred(At(b, x, y))) {
                continue;
            }
            if (box.Empty()) {
                box = {x, y, x, y};
            }
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

Box ChangedBox(const Bitmap& b, Rgb background = kGrey) {
    return BoxWhere(b, [background](const Rgb& c) { return !Near(c, background, 8); });
}

// (colour * alpha + background * (255 - alpha)) / 255, channel by channel.
Rgb Blend(Rgb color, Rgb background, int alpha) {
    auto mix = [alpha](int c, int bg) { return (c * alpha + bg * (255 - alpha)) / 255; };
    return {mix(color.r, background.r), mix(color.g, background.g), mix(color.b, background.b)};
}

// A text watermark on an opaque magenta box, so the box can be measured.
class WatermarkTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        auto& w = Settings.Watermark;
        w.DoWatermark = 1;
        w.Text = "Sample";
        w.FontColor = "FFFFFF";
        w.TextOpacity = 255;
        w.BackColor = "FF00FF";
        w.BackOpacity = 255;
        w.TextAntialiasing = 0;
        w.TextPadding = 0;
        ASSERT_TRUE(LoadWatermarkFont());
    }
    void TearDown() override { ReleaseWatermarkFont(); }

    static Bitmap Draw(int width, int height, const std::string& name = {}) {
        Bitmap out = WatermarkStep(
            SolidBitmap(static_cast<unsigned>(width), static_cast<unsigned>(height), kGrey), width,
            height);
        if (out && !name.empty()) {
            test::SaveForViewing(out, "watermark_" + std::string(name));
        }
        return out;
    }
    static void Place(int position, int offsetX, int offsetY) {
        auto& w = Settings.Watermark;
        w.TextPosition = static_cast<Byte>(position);
        w.TextXOffset = offsetX;
        w.TextYOffset = offsetY;
    }
    static void FrameOf(int type, int width) {
        auto& f = Settings.Frame;
        f.DoFrame = static_cast<Byte>(type);
        f.SolidLeft = f.SolidRight = f.SolidTop = f.SolidBottom = width;
    }
};

TEST_F(WatermarkTest, PositionsOffsetsAndTheFrameBoundary) {
    constexpr int kW = 640;
    constexpr int kH = 480;
    constexpr int kAny = -1;
    const struct {
        const char* name;
        int position, offsetX, offsetY;
        int frameType, boundary;
        int left, top, right, bottom;  // kAny where the edge is not fixed
        bool centred;
    } cases[] = {
        {"bottom_right", 8, 10, 10, 0, 0, kAny, kAny, 629, 469, false},
        {"centre_ignores_offsets", 4, 50, 50, 0, 0, kAny, kAny, kAny, kAny, true},
        {"top_left_in_frame", 0, 0, 0, 1, 1, 20, 20, kAny, kAny, false},
        {"bottom_right_in_frame", 8, 0, 0, 1, 1, kAny, kAny, 619, 459, false},
        {"boundary_image_ignores_frame", 0, 0, 0, 1, 0, 0, 0, kAny, kAny, false},
        {"no_frame_no_inset", 0, 0, 0, 0, 1, 0, 0, kAny, kAny, false},
        {"top_right", 2, 10, 20, 0, 0, kAny, 20, 629, kAny, false},
        {"bottom_left", 6, 10, 20, 0, 0, 10, kAny, kAny, 459, false},
        {"middle_right", 5, 10, 20, 0, 0, kAny, kAny, 629, kAny, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Place(c.position, c.offsetX, c.offsetY);
        FrameOf(c.frameType, 20);
        Settings.Watermark.TextBoundary = static_cast<Byte>(c.boundary);
        const Bitmap out = Draw(kW, kH, c.name);
        ASSERT_TRUE(out);
        EXPECT_EQ(FreeImage_GetBPP(out.get()), 24u);
        const Box box = ChangedBox(out);
        ASSERT_FALSE(box.Empty());
        EXPECT_GT(box.Width(), 40) << box;
        EXPECT_GT(box.Height(), 15) << box;
        const int edges[4][2] = {
            {box.left, c.left}, {box.top, c.top}, {box.right, c.right}, {box.bottom, c.bottom}};
        for (const auto& [actual, wanted] : edges) {
            EXPECT_TRUE(wanted == kAny || actual == wanted) << box << " edge " << wanted;
        }
        if (c.centred) {
            EXPECT_EQ(box.left, (kW - box.Width()) / 2) << box;
            EXPECT_EQ(box.top, (kH - box.Height()) / 2) << box;
        }
        if (c.position == 5) {
            EXPECT_EQ(box.top, (kH - box.Height()) / 2) << box;
        }
    }
}

TEST_F(WatermarkTest, ABoxWiderThanTheImageIsCutFromItsLeftEnd) {
    Settings.Watermark.Text = "A watermark text far wider than the picture";
    Place(0, 0, 0);
    const Bitmap wide = Draw(1000, 60);
    const Box full = ChangedBox(wide);
    ASSERT_GT(full.Width(), 120);
    for (const int position : {0, 2}) {
        SCOPED_TRACE(position);
        Place(position, 0, 0);
        const Bitmap cut = Draw(120, 60, "cut_at_" + std::to_string(position));
        const Box box = ChangedBox(cut);
        EXPECT_EQ(box.left, 0);
        EXPECT_EQ(box.right, 119);
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 120; ++x) {
                ASSERT_EQ(At(cut, x, y), At(wide, x, y)) << x << "," << y;
            }
        }
    }
}

TEST_F(WatermarkTest, ALayerPushedOutOfTheImageIsNotDrawn) {
    const struct {
        int position, offsetX, offsetY;
    } cases[] = {{0, -5, 0}, {0, 0, -1}, {8, -10, 10}, {8, 10, -10}, {0, 700, 0}, {0, 0, 500}};
    const Bitmap original = SolidBitmap(640, 480, kGrey);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << " " << c.offsetX << "/" << c.offsetY);
        Place(c.position, c.offsetX, c.offsetY);
        const Bitmap out = Draw(640, 480);
        ASSERT_TRUE(out);
        EXPECT_EQ(FreeImage_GetBPP(out.get()), 24u);
        EXPECT_TRUE(SamePixels(out.get(), original.get()));
    }
}

TEST_F(WatermarkTest, SeveralLinesAreSplitAtTheLineBreakInAnyCase) {
    Settings.Watermark.FontLeading = 6;
    Place(0, 0, 0);
    Settings.Watermark.Text = "Ab";
    const int lineHeight = ChangedBox(Draw(640, 480)).Height();
    ASSERT_GT(lineHeight, 10);

    const struct {
        const char* name;
        int alignment;
    } cases[] = {{"two_lines_left", 0}, {"two_lines_centred", 1}, {"two_lines_right", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings.Watermark.Text = "Ab%EOL%A much wider second line";
        Settings.Watermark.TextAlignment = static_cast<Byte>(c.alignment);
        const Bitmap out = Draw(640, 480, c.name);
        const Box box = ChangedBox(out);
        EXPECT_EQ(box.Height(), 2 * lineHeight + 6) << box;
        // The glyphs of the short first line, found by their colour.
        const Box firstLine = BoxWhere(out, [](const Rgb& px) { return px.g > 200; });
        const Box glyphs = [&] {
            Box b;
            const int w = box.Width();
            for (int y = 0; y < lineHeight; ++y) {
                for (int x = 0; x < w; ++x) {
                    if (At(out, x, y).g > 200) {
                        b.left = b.Empty() ? x : std::min(b.left, x);
                        b.right = std::max(b.right, x);
                        b.top = 0;
                    }
                }
            }
            return b;
        }();
        ASSERT_FALSE(firstLine.Empty());
        ASSERT_FALSE(glyphs.Empty());
        const int slack = 3;  // side bearings of the glyphs
        if (c.alignment == 0) {
            EXPECT_LE(glyphs.left, slack);
        } else if (c.alignment == 1) {
            EXPECT_NEAR(glyphs.left + glyphs.right, box.right, 2 * slack);
        } else {
            EXPECT_GE(glyphs.right, box.right - slack);
        }
    }
    for (const char* text : {"Ab%eol%Ab", "Ab%EoL%Ab"}) {
        Settings.Watermark.Text = text;
        EXPECT_EQ(ChangedBox(Draw(640, 480)).Height(), 2 * lineHeight + 6) << text;
    }
}

TEST_F(WatermarkTest, EmptyLinesAndPadding) {
    Place(0, 0, 0);
    Settings.Watermark.Text = "";
    EXPECT_TRUE(ChangedBox(Draw(200, 100)).Empty());  // an empty layer is no layer
    Settings.Watermark.Text = "Ab";
    const Box tight = ChangedBox(Draw(200, 100));
    // Several lines give a box at least 10 wide, even when they are empty.
    Settings.Watermark.Text = "%eol%";
    const Box empty = ChangedBox(Draw(200, 100, "empty_lines"));
    EXPECT_EQ(empty.Width(), 10);
    EXPECT_EQ(empty.Height(), 2 * tight.Height());

    Settings.Watermark.Text = "Ab";
    Settings.Watermark.TextPadding = 7;
    const Bitmap padded = Draw(200, 100, "padding");
    const Box box = ChangedBox(padded);
    EXPECT_EQ(box.Width(), tight.Width() + 14);
    EXPECT_EQ(box.Height(), tight.Height() + 14);
    const Box glyphs = BoxWhere(padded, [](const Rgb& px) { return px.g > 200; });
    EXPECT_GE(glyphs.left, 7);
    EXPECT_GE(glyphs.top, 7);
}

TEST_F(WatermarkTest, OpacitiesOfTheBoxAndTheGlyphs) {
    Settings.Watermark.TextAntialiasing = 1;
    Place(0, 10, 10);
    auto isMagenta = [](const Rgb& c) { return c.r > 200 && c.g < 60 && c.b > 200; };
    auto isWhite = [](const Rgb& c) { return Near(c, kWhite, 6); };

    Settings.Watermark.BackOpacity = 0;
    const Bitmap glyphsOnly = Draw(320, 120, "back_opacity_0");
    EXPECT_TRUE(BoxWhere(glyphsOnly, isMagenta).Empty());
    EXPECT_FALSE(BoxWhere(glyphsOnly, isWhite).Empty());

    Settings.Watermark.BackOpacity = 255;
    Settings.Watermark.TextOpacity = 0;
    const Bitmap boxOnly = Draw(320, 120, "text_opacity_0");
    const Box box = ChangedBox(boxOnly);
    ASSERT_FALSE(box.Empty());
    EXPECT_TRUE(BoxWhere(boxOnly, [&](const Rgb& c) {
                    return !Near(c, kGrey, 8) && !isMagenta(c);
                }).Empty());
    EXPECT_EQ(BoxWhere(boxOnly, isMagenta).left, box.left);
}

TEST_F(WatermarkTest, PlainTextHasTwoColoursAndSmoothTextHasShades) {
    Settings.Watermark.Text = "Quick brown fox";
    Place(0, 0, 0);
    for (const int antialias : {0, 1}) {
        SCOPED_TRACE(antialias);
        Settings.Watermark.TextAntialiasing = static_cast<Flag>(antialias);
        const Bitmap out = Draw(320, 120, antialias ? "antialiased" : "plain");
        const Box box = ChangedBox(out);
        int shades = 0;
        for (int y = box.top; y <= box.bottom; ++y) {
            for (int x = box.left; x <= box.right; ++x) {
                const Rgb c = At(out, x, y);
                shades += !Near(c, kMagenta, 3) && !Near(c, kWhite, 3);
            }
        }
        if (antialias) {
            EXPECT_GT(shades, 20);
        } else {
            EXPECT_EQ(shades, 0);
        }
    }
}

TEST_F(WatermarkTest, RotationTurnsTheLayerCounterClockwise) {
    Place(0, 0, 0);
    const Box straight = ChangedBox(Draw(400, 400));
    Settings.Watermark.TextRotation = 90;
    const Bitmap turned = Draw(400, 400, "rotated_90");
    const Box quarter = ChangedBox(turned);
    EXPECT_EQ(quarter.Width(), straight.Height());
    EXPECT_EQ(quarter.Height(), straight.Width());
    Settings.Watermark.TextRotation = 45;
    const Bitmap slanted = Draw(400, 400, "rotated_45");
    const Box grown = ChangedBox(slanted);
    const double diagonal = (straight.Width() + straight.Height()) / std::sqrt(2.0);
    EXPECT_NEAR(grown.Width(), diagonal, 3);
    EXPECT_NEAR(grown.Height(), diagonal, 3);
    EXPECT_EQ(At(slanted, grown.left, grown.top), kGrey);  // a transparent new corner
    for (const int angle : {0, 360, -90}) {
        Settings.Watermark.TextRotation = angle;
        const Box box = ChangedBox(Draw(400, 400));
        EXPECT_EQ(box.Width(), straight.Width()) << angle;
    }
}

TEST_F(WatermarkTest, TokensTakeTheJobValues) {
    Place(0, 0, 0);
    Settings.Watermark.Text = "1234 x 56";
    const int literal = ChangedBox(Draw(400, 100)).Width();
    Job.ImageWidth = 1234;
    Job.ImageHeight = 56;
    Settings.Watermark.Text = "%width% x %height%";
    EXPECT_EQ(ChangedBox(Draw(400, 100)).Width(), literal);
}

TEST_F(WatermarkTest, FontLoading) {
    const struct {
        const char* family;
        int size;
        int style;
        int effect;
        bool loads;
    } cases[] = {
        {"Arial", 14, 0, 0, true},       {"Liberation Sans", 14, 1, 1, true},
        {"DejaVu Sans", 20, 3, 2, true}, {"NoSuchFont", 14, 0, 0, false},
        {"Arial", 0, 0, 0, false},       {"", 14, 0, 0, false},
    };
    for (const auto& c : cases) {
        auto& w = Settings.Watermark;
        w.Font = c.family;
        w.FontSize = c.size;
        w.FontStyle = static_cast<Byte>(c.style);
        w.FontEffect = static_cast<Byte>(c.effect);
        EXPECT_EQ(LoadWatermarkFont(), c.loads) << c.family << " " << c.size;
        EXPECT_EQ(WatermarkFontLoaded(), c.loads) << c.family;
    }
    Settings.Watermark.Font = "Arial";
    Settings.Watermark.FontSize = 14;
    ASSERT_TRUE(LoadWatermarkFont());
    ReleaseWatermarkFont();
    EXPECT_FALSE(WatermarkFontLoaded());
    // Without a font there is no text watermark, but the image is 24-bit.
    Bitmap out = WatermarkStep(test_bitmaps::GreyBitmap(64, 48), 64, 48);
    EXPECT_EQ(FreeImage_GetBPP(out.get()), 24u);
    EXPECT_EQ(At(out, 10, 10), (Rgb{0, 0, 0}));
}

TEST_F(WatermarkTest, StylesAndEffectsChangeTheGlyphs) {
    Place(0, 0, 0);
    Settings.Watermark.BackOpacity = 0;
    auto glyphPixels = [](const Bitmap& b) {
        int n = 0;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 300; ++x) {
                n += Near(At(b, x, y), kWhite, 3);
            }
        }
        return n;
    };
    const int plain = glyphPixels(Draw(300, 60));
    const struct {
        const char* name;
        int style;
        int effect;
    } cases[] = {{"bold", 1, 0}, {"underline", 0, 1}, {"strike_out", 0, 2}};
    for (const auto& c : cases) {
        Settings.Watermark.FontStyle = static_cast<Byte>(c.style);
        Settings.Watermark.FontEffect = static_cast<Byte>(c.effect);
        ASSERT_TRUE(LoadWatermarkFont());
        EXPECT_GT(glyphPixels(Draw(300, 60, c.name)), plain + 20) << c.name;
    }
}

TEST_F(WatermarkTest, TypeZeroLeavesTheBitmapAlone) {
    Settings.Watermark.DoWatermark = 0;
    Bitmap grey = test_bitmaps::GreyBitmap(64, 48);
    FIBITMAP* const before = grey.get();
    EXPECT_EQ(WatermarkStep(std::move(grey), 64, 48).get(), before);
    EXPECT_FALSE(WatermarkStep(Bitmap(), 64, 48));
}

class ImageWatermarkTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        auto& w = Settings.Watermark;
        w.DoWatermark = 2;
        w.ImagePosition = 0;
        w.ImageXOffset = 0;
        w.ImageYOffset = 0;
        const Bitmap bmp = SolidBitmap(40, 30, kPicture);
        ASSERT_TRUE(FreeImage_Save(FIF_BMP, bmp.get(), Path("mark.bmp").c_str(), 0));
        // A 32-bit picture: the left half transparent.
        Bitmap png = SolidBitmap(40, 30, kPicture, 32);
        for (unsigned y = 0; y < 30; ++y) {
            for (unsigned x = 0; x < 20; ++x) {
                RGBQUAD clear{};
                FreeImage_SetPixelColor(png.get(), x, y, &clear);
            }
        }
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, png.get(), Path("mark.png").c_str(), 0));
    }
    std::string Path(const std::string& name) const { return folder_.Path() + name; }

    static constexpr Rgb kPicture{240, 40, 80};
    static constexpr Rgb kPhoto{20, 120, 200};
    // (240 * 77 + 40 * 150 + 80 * 29) >> 8
    static constexpr Rgb kPictureGrey{104, 104, 104};
    ScratchFolder folder_;
};

TEST_F(ImageWatermarkTest, OpacityGreyAndTransparency) {
    const struct {
        const char* name;
        const char* file;
        int greyscale;
        int opacity;
        Rgb left;   // at (10, 10)
        Rgb right;  // at (30, 10)
    } cases[] = {
        {"image_opaque", "mark.bmp", 0, 255, kPicture, kPicture},
        {"image_half", "mark.bmp", 0, 128, Blend(kPicture, kPhoto, 128),
         Blend(kPicture, kPhoto, 128)},
        {"image_grey_half", "mark.bmp", 1, 128, Blend(kPictureGrey, kPhoto, 128),
         Blend(kPictureGrey, kPhoto, 128)},
        {"image_grey", "mark.bmp", 1, 255, kPictureGrey, kPictureGrey},
        {"image_alpha", "mark.png", 0, 255, kPhoto, kPicture},
        {"image_alpha_grey_half", "mark.png", 1, 128, kPhoto, Blend(kPictureGrey, kPhoto, 128)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto& w = Settings.Watermark;
        w.Image = Path(c.file);
        w.ImageGreyscale = static_cast<Flag>(c.greyscale);
        w.ImageOpacity = c.opacity;
        const Bitmap out = WatermarkStep(SolidBitmap(100, 80, kPhoto), 100, 80);
        ASSERT_TRUE(out);
        test::SaveForViewing(out, "watermark_" + std::string(c.name));
        EXPECT_EQ(FreeImage_GetBPP(out.get()), 24u);
        EXPECT_TRUE(Near(At(out, 10, 10), c.left, 3)) << At(out, 10, 10) << " wanted " << c.left;
        EXPECT_TRUE(Near(At(out, 30, 10), c.right, 3)) << At(out, 30, 10) << " wanted " << c.right;
        EXPECT_EQ(At(out, 60, 50), kPhoto);
        const Box box = ChangedBox(out, kPhoto);
        EXPECT_EQ(box.right, 39);
        EXPECT_EQ(box.bottom, 29);
    }
}

TEST_F(ImageWatermarkTest, AMissingPictureDrawsNothing) {
    Settings.Watermark.Image = Path("none.png");
    const Bitmap original = SolidBitmap(100, 80, kPhoto);
    const Bitmap out = WatermarkStep(Clone(original), 100, 80);
    ASSERT_TRUE(out);
    EXPECT_TRUE(SamePixels(out.get(), original.get()));
}

TEST_F(ImageWatermarkTest, PlacementAndRotationApplyToPicturesToo) {
    auto& w = Settings.Watermark;
    w.Image = Path("mark.bmp");
    w.ImagePosition = 8;
    w.ImageXOffset = 5;
    w.ImageYOffset = 7;
    w.ImageRotation = 90;
    const Bitmap out = WatermarkStep(SolidBitmap(100, 80, kPhoto), 100, 80);
    const Box box = ChangedBox(out, kPhoto);
    EXPECT_EQ(box.right, 94);
    EXPECT_EQ(box.bottom, 72);
    EXPECT_EQ(box.Width(), 30);
    EXPECT_EQ(box.Height(), 40);
}

}  // namespace
}  // namespace tarvik
