#include "engine/depth.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/bitmap_fixtures.h"

namespace tarvik {
namespace {

using test_bitmaps::DecodeRle8;
using test_bitmaps::EngineTest;
using test_bitmaps::GradientBitmap;
using test_bitmaps::GreyBitmap;
using test_bitmaps::IndexAt;
using test_bitmaps::kBlack;
using test_bitmaps::kWhite;
using test_bitmaps::Le32;
using test_bitmaps::PixelAt;
using test_bitmaps::ReadBytes;
using test_bitmaps::Rgb;
using test_bitmaps::SamePixels;
using test_bitmaps::ScratchFolder;
using test_bitmaps::SetIndex;

Bitmap ColourAt(unsigned bpp) {
    Bitmap colour = GradientBitmap(40, 30);
    if (bpp == 32) {
        return Bitmap(FreeImage_ConvertTo32Bits(colour.get()));
    }
    if (bpp == 48) {
        return Bitmap(FreeImage_ConvertToRGB16(colour.get()));
    }
    return colour;
}

class DepthTest : public EngineTest {
  protected:
    void Target(const char* key, int bpp) {
        Job.OutputExtension = key;
        Job.OutputBpp = bpp;
        Job.AutoBpp = 0;
    }
};

TEST_F(DepthTest, SixteenBitsAreFiveSixFiveExceptForIconsAndTarga) {
    const struct {
        const char* key;
        unsigned sourceBpp;
        unsigned greenMask;
    } cases[] = {
        {"bmp", 24, FI16_565_GREEN_MASK}, {"bmp", 32, FI16_565_GREEN_MASK},
        {"bmp", 48, FI16_565_GREEN_MASK}, {"tga", 24, FI16_555_GREEN_MASK},
        {"ico", 24, FI16_555_GREEN_MASK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.key << " from " << c.sourceBpp);
        Target(c.key, 16);
        const Bitmap out = ApplyOutputDepth(ColourAt(c.sourceBpp));
        ASSERT_TRUE(out);
        EXPECT_EQ(BitmapBpp(out), 16u);
        EXPECT_EQ(FreeImage_GetGreenMask(out.get()), c.greenMask);
    }
}

enum class Palette { kNone, kGrey, kColour };

Palette PaletteKind(FIBITMAP* dib) {
    const RGBQUAD* palette = FreeImage_GetPalette(dib);
    if (palette == nullptr) {
        return Palette::kNone;
    }
    for (unsigned i = 0; i < FreeImage_GetColorsUsed(dib); ++i) {
        if (palette[i].rgbRed != palette[i].rgbGreen || palette[i].rgbGreen != palette[i].rgbBlue) {
            return Palette::kColour;
        }
    }
    return Palette::kGrey;
}

TEST_F(DepthTest, ConvertsToTheRequestedDepth) {
    const struct {
        const char* name;
        const char* key;
        unsigned sourceBpp;
        int bpp;
        FREE_IMAGE_TYPE type;
        Palette palette;
    } cases[] = {
        {"bmp 8 quantizes colour", "bmp", 24, 8, FIT_BITMAP, Palette::kColour},
        {"bmp 8 from 32", "bmp", 32, 8, FIT_BITMAP, Palette::kColour},
        {"bmp 8 from 48", "bmp", 48, 8, FIT_BITMAP, Palette::kColour},
        {"jpg 8 is grey", "jpg", 24, 8, FIT_BITMAP, Palette::kGrey},
        {"4 bits are grey", "bmp", 24, 4, FIT_BITMAP, Palette::kGrey},
        {"1 bit", "bmp", 24, 1, FIT_BITMAP, Palette::kGrey},
        {"32 bits", "bmp", 24, 32, FIT_BITMAP, Palette::kNone},
        {"24 from 48", "bmp", 48, 24, FIT_BITMAP, Palette::kNone},
        {"48 bits", "tiff", 24, 48, FIT_RGB16, Palette::kNone},
        {"96 bits", "tiff", 24, 96, FIT_RGBF, Palette::kNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Target(c.key, c.bpp);
        const Bitmap out = ApplyOutputDepth(ColourAt(c.sourceBpp));
        ASSERT_TRUE(out);
        EXPECT_EQ(BitmapBpp(out), static_cast<unsigned>(c.bpp));
        EXPECT_EQ(FreeImage_GetImageType(out.get()), c.type);
        EXPECT_EQ(PaletteKind(out.get()), c.palette);
    }
}

TEST_F(DepthTest, DitheredBitmapHoldsOnlyBlackAndWhite) {
    Target("bmp", 1);
    const Bitmap out = ApplyOutputDepth(GradientBitmap(40, 30));
    ASSERT_TRUE(out);
    int black = 0;
    for (unsigned y = 0; y < 30; ++y) {
        for (unsigned x = 0; x < 40; ++x) {
            const Rgb p = PixelAt(out, x, y);
            ASSERT_TRUE(p == kBlack || p == kWhite) << p;
            black += p == kBlack ? 1 : 0;
        }
    }
    EXPECT_GT(black, 0);
    EXPECT_LT(black, 40 * 30);
}

TEST_F(DepthTest, GreyImageAskedForEightBitsKeepsItsPalette) {
    Target("bmp", 8);
    Bitmap grey = GreyBitmap(16, 16);
    SetIndex(grey, 3, 3, 77);
    FIBITMAP* const before = grey.get();
    const Bitmap out = ApplyOutputDepth(std::move(grey));
    EXPECT_EQ(out.get(), before);
    EXPECT_EQ(FreeImage_GetColorType(out.get()), FIC_MINISBLACK);
    EXPECT_EQ(IndexAt(out, 3, 3), 77);
}

TEST_F(DepthTest, AutomaticDepthFollowsTheImageAsLoaded) {
    const struct {
        int sourceBpp;
        unsigned bitmapBpp;
        int expected;
    } cases[] = {{8, 24, 8}, {24, 8, 24}, {24, 24, 24}, {32, 24, 32}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sourceBpp);
        Target("bmp", 0);
        Job.AutoBpp = 1;
        Job.SourceBpp = c.sourceBpp;
        Bitmap source = c.bitmapBpp == 8 ? GreyBitmap(8, 8) : GradientBitmap(8, 8);
        const Bitmap out = ApplyOutputDepth(std::move(source));
        EXPECT_EQ(Job.OutputBpp, c.expected);
        EXPECT_EQ(BitmapBpp(out), static_cast<unsigned>(c.expected));
    }
}

TEST_F(DepthTest, UnknownDepthOrMissingBitmapYieldsNone) {
    for (const int bpp : {0, 2, 7, 12, 64, -8}) {
        Target("bmp", bpp);
        EXPECT_FALSE(ApplyOutputDepth(GradientBitmap(8, 8))) << bpp;
    }
    Target("bmp", 24);
    EXPECT_FALSE(ApplyOutputDepth(Bitmap()));
}

TEST(UsedPaletteSize, HighestIndexOfThePixelsPlusOne) {
    const struct {
        const char* name;
        unsigned width, height;
        unsigned x, y;
        BYTE index;
        int expected;
    } cases[] = {
        {"all zero", 5, 4, 0, 0, 0, 1},
        {"one pixel", 5, 5, 0, 0, 200, 201},
        {"last row of a 3-wide image", 3, 4, 2, 3, 36, 37},
        {"first row", 3, 4, 1, 0, 36, 37},
        {"full palette", 4, 4, 3, 2, 255, 256},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap b = GreyBitmap(c.width, c.height);
        // Padding bytes hold no pixels, so a high value there must not count.
        BYTE* bits = FreeImage_GetBits(b.get());
        const unsigned pitch = FreeImage_GetPitch(b.get());
        for (unsigned row = 0; row < c.height; ++row) {
            for (unsigned pad = c.width; pad < pitch; ++pad) {
                bits[row * pitch + pad] = 250;
            }
        }
        SetIndex(b, c.x, c.y, c.index);
        EXPECT_EQ(UsedPaletteSize(b.get()), c.expected);
    }
}

// A colour image whose pixels use exactly the indexes 0..highest.
Bitmap PaletteBitmap(unsigned width, unsigned height, int highest) {
    Bitmap b(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 8));
    RGBQUAD* palette = FreeImage_GetPalette(b.get());
    for (int i = 0; i < 256; ++i) {
        palette[i].rgbRed = static_cast<BYTE>(i * 7);
        palette[i].rgbGreen = static_cast<BYTE>(255 - i * 5);
        palette[i].rgbBlue = static_cast<BYTE>(i * 3 + 1);
        palette[i].rgbReserved = 0x55;
    }
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            // Runs of four equal indexes, so RLE has something to compress.
            const unsigned run = (y * width + x) / 4;
            SetIndex(b, x, y, static_cast<BYTE>(run % static_cast<unsigned>(highest + 1)));
        }
    }
    return b;
}

std::vector<int> Indexes(const Bitmap& b) {
    std::vector<int> pixels;
    for (unsigned y = 0; y < BitmapHeight(b); ++y) {
        for (unsigned x = 0; x < BitmapWidth(b); ++x) {
            pixels.push_back(IndexAt(b, x, y));
        }
    }
    return pixels;
}

class ExactTableTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_FALSE(folder_.Path().empty());
        Job.OutputExtension = "bmp";
        Job.OutputFormatId = FIF_BMP;
        Job.OutputBpp = 8;
    }

    void Compression(int rle) {
        Settings.Output.BmpCompression = rle;
        Job.SaveFlags = rle != 0 ? BMP_SAVE_RLE : BMP_DEFAULT;
    }

    std::string File(const char* name) const { return folder_.Path() + name; }

    std::size_t EntriesInFolder() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder_.Path())) {
            ++n;
        }
        return n;
    }

    ScratchFolder folder_;
};

TEST_F(ExactTableTest, WritesOnlyTheUsedEntriesInEitherCompression) {
    const struct {
        const char* name;
        int rle;
        unsigned width, height;
        int highest;
    } cases[] = {
        {"37 colours", 0, 37, 20, 36},
        {"37 colours, RLE", 1, 37, 20, 36},
        {"one colour", 0, 6, 6, 0},
        {"full palette, RLE", 1, 64, 16, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Compression(c.rle);
        const Bitmap image = PaletteBitmap(c.width, c.height, c.highest);
        const std::string exact = File("exact.bmp");
        const std::string own = File("own.bmp");
        ASSERT_TRUE(SaveBmpExactColorTable(image.get(), exact));
        ASSERT_TRUE(FreeImage_Save(FIF_BMP, image.get(), own.c_str(), Job.SaveFlags));

        const auto bytes = ReadBytes(exact);
        const auto ownBytes = ReadBytes(own);
        const std::uint32_t n = static_cast<std::uint32_t>(c.highest + 1);
        const std::uint32_t offset = 54 + 4 * n;
        ASSERT_GT(bytes.size(), offset);
        EXPECT_EQ(ownBytes.size() - bytes.size(), 1078 - offset);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(Le32(bytes, 2), bytes.size());
        EXPECT_EQ(Le32(bytes, 6), 0u);
        EXPECT_EQ(Le32(bytes, 10), offset);
        EXPECT_EQ(Le32(bytes, 14), 40u);
        EXPECT_EQ(Le32(bytes, 18), c.width);
        EXPECT_EQ(Le32(bytes, 22), c.height);
        EXPECT_EQ(bytes[28], 8);
        EXPECT_EQ(Le32(bytes, 30), static_cast<std::uint32_t>(c.rle));
        EXPECT_EQ(Le32(bytes, 34), bytes.size() - offset);
        EXPECT_EQ(Le32(bytes, 46), n);
        EXPECT_EQ(Le32(bytes, 50), n);
        // The table: blue, green, red, then a zero byte.
        const RGBQUAD* palette = FreeImage_GetPalette(image.get());
        for (std::uint32_t i = 0; i < n; ++i) {
            ASSERT_EQ(bytes[54 + 4 * i], palette[i].rgbBlue) << i;
            ASSERT_EQ(bytes[55 + 4 * i], palette[i].rgbGreen) << i;
            ASSERT_EQ(bytes[56 + 4 * i], palette[i].rgbRed) << i;
            ASSERT_EQ(bytes[57 + 4 * i], 0) << i;
        }
        // The pixel bytes are FreeImage's own.
        EXPECT_TRUE(std::equal(bytes.begin() + offset, bytes.end(), ownBytes.begin() + 1078));

        if (c.rle != 0) {
            EXPECT_EQ(DecodeRle8(bytes, offset, c.width, c.height), Indexes(image));
        } else {
            const Bitmap decoded(FreeImage_Load(FIF_BMP, exact.c_str(), BMP_DEFAULT));
            ASSERT_TRUE(decoded);
            EXPECT_TRUE(SamePixels(decoded.get(), image.get()));
        }
    }
}

TEST_F(ExactTableTest, ThirtySevenColoursSaveEightHundredSeventySixBytes) {
    Compression(0);
    const Bitmap image = PaletteBitmap(40, 30, 36);
    ASSERT_TRUE(SaveBmpExactColorTable(image.get(), File("exact.bmp")));
    ASSERT_TRUE(FreeImage_Save(FIF_BMP, image.get(), File("own.bmp").c_str(), 0));
    const auto bytes = ReadBytes(File("exact.bmp"));
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(Le32(bytes, 46), 37u);
    EXPECT_EQ(Le32(bytes, 10), 202u);
    EXPECT_EQ(ReadBytes(File("own.bmp")).size() - bytes.size(), 876u);
}

TEST_F(ExactTableTest, GreyImageUpToIndex200HasTwoHundredOneEntries) {
    Compression(0);
    Bitmap grey = GreyBitmap(20, 15);
    for (unsigned i = 0; i <= 200; ++i) {
        SetIndex(grey, i % 20, i / 20, static_cast<BYTE>(i));
    }
    ASSERT_TRUE(SaveBmpExactColorTable(grey.get(), File("grey.bmp")));
    const auto bytes = ReadBytes(File("grey.bmp"));
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(Le32(bytes, 46), 201u);
    EXPECT_EQ(Le32(bytes, 10), 54u + 4 * 201);
    const Bitmap decoded(FreeImage_Load(FIF_BMP, File("grey.bmp").c_str(), BMP_DEFAULT));
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(SamePixels(decoded.get(), grey.get()));
}

TEST_F(ExactTableTest, ReplacesAnExistingFile) {
    Compression(0);
    const std::string path = File("out.bmp");
    ASSERT_TRUE(SaveBmpExactColorTable(PaletteBitmap(64, 64, 200).get(), path));
    ASSERT_TRUE(SaveBmpExactColorTable(PaletteBitmap(8, 8, 3).get(), path));
    const auto bytes = ReadBytes(path);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(Le32(bytes, 46), 4u);
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(ExactTableTest, FailuresLeaveNoFile) {
    Compression(0);
    const Bitmap palette = PaletteBitmap(8, 8, 5);
    const Bitmap colour = GradientBitmap(8, 8);
    EXPECT_FALSE(SaveBmpExactColorTable(nullptr, File("none.bmp")));
    EXPECT_FALSE(SaveBmpExactColorTable(colour.get(), File("colour.bmp")));
    EXPECT_FALSE(SaveBmpExactColorTable(palette.get(), File("missing/out.bmp")));
    // A memory image shorter than FreeImage's 8-bit BMP headers.
    Job.OutputFormatId = FIF_PGMRAW;
    EXPECT_FALSE(SaveBmpExactColorTable(GreyBitmap(4, 4).get(), File("short.bmp")));
    // Long enough, but not a BMP.
    EXPECT_FALSE(SaveBmpExactColorTable(GreyBitmap(64, 64).get(), File("pgm.bmp")));
    EXPECT_EQ(EntriesInFolder(), 0u);

    // A folder in the way: the rename fails and the temporary file goes.
    Job.OutputFormatId = FIF_BMP;
    std::filesystem::create_directory(File("taken.bmp"));
    EXPECT_FALSE(SaveBmpExactColorTable(palette.get(), File("taken.bmp")));
    EXPECT_EQ(EntriesInFolder(), 1u);
}

}  // namespace
}  // namespace tarvik
