// End-to-end runs of the real binary on generated photos.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <FreeImage.h>

#include <cstdlib>
#include <memory>

#include "support/fixtures.h"

namespace tarvik::test {
namespace {

struct Unload {
    void operator()(FIBITMAP* b) const { FreeImage_Unload(b); }
};
using Image = std::unique_ptr<FIBITMAP, Unload>;

Image LoadBmp(const std::string& path) {
    return Image(FreeImage_Load(FIF_BMP, path.c_str(), 0));
}

// The pixel rows the reference decoder writes for the same file.
std::string ReferencePixels(const std::string& jpeg, const std::string& folder) {
    const RunResult r =
        RunProgram({"/bin/sh", "-c", "djpeg -bmp '" + jpeg + "' > ref.bmp"}, folder);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return BmpPixelData(ReadFile(folder + "ref.bmp"));
}

struct Rgb {
    int r, g, b;
};

Rgb PixelAt(FIBITMAP* dib, unsigned x, unsigned yFromTop) {
    RGBQUAD q{};
    FreeImage_GetPixelColor(dib, x, FreeImage_GetHeight(dib) - 1 - yFromTop, &q);
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

bool Near(Rgb p, Rgb want) {
    return std::abs(p.r - want.r) < 48 && std::abs(p.g - want.g) < 48 &&
           std::abs(p.b - want.b) < 48;
}

TEST(Spine, NoOpConversionMatchesTheReferenceDecoder) {
    struct Case {
        const char* name;
        JpegSpec shape;
        int bpp;
    };
    const Case cases[] = {
        {"colour", {.width = 97, .height = 61}, 24},
        {"grey", {.width = 97, .height = 61, .grey = true}, 8},
        {"photo", {.width = 640, .height = 480, .quality = 75}, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = MakeTempFolder(std::string("spine-") + c.name);
        ASSERT_TRUE(WriteJpeg(dir + "photo.jpg", c.shape));
        ASSERT_EQ(mkdir((dir + "out").c_str(), 0777), 0);
        const RunResult r = RunTarvik({"-i", dir + "photo.jpg", "-o", dir + "out"});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        const std::string bmp = ReadFile(dir + "out/photo.bmp");
        const BmpHeader h = ParseBmpHeader(bmp);
        ASSERT_TRUE(h.valid);
        EXPECT_EQ(h.bpp, c.bpp);
        EXPECT_EQ(h.width, static_cast<int>(c.shape.width));
        EXPECT_EQ(h.height, static_cast<int>(c.shape.height));
        EXPECT_EQ(h.fileSize, bmp.size());
        EXPECT_TRUE(BmpPixelData(bmp) == ReferencePixels(dir + "photo.jpg", dir));
    }
}

TEST(Spine, ExifOrientationIsWrittenUpright) {
    // Stored quadrants: red, green on top; blue, white below. Orientation 6
    // means the stored picture must turn a quarter clockwise to be upright.
    const std::string dir = MakeTempFolder("spine-orientation");
    ASSERT_TRUE(WriteJpeg(dir + "turned.jpg", {.width = 80,
                                               .height = 40,
                                               .orientation = 6,
                                               .quality = 95,
                                               .pattern = Pattern::Quadrants}));
    const RunResult r = RunTarvik({"-q", "-i", dir + "turned.jpg"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const Image out = LoadBmp(dir + "turned.bmp");
    ASSERT_TRUE(out);
    ASSERT_EQ(FreeImage_GetWidth(out.get()), 40u);
    ASSERT_EQ(FreeImage_GetHeight(out.get()), 80u);
    EXPECT_TRUE(Near(PixelAt(out.get(), 10, 10), {0, 0, 255}));      // top-left: was bottom-left
    EXPECT_TRUE(Near(PixelAt(out.get(), 30, 10), {255, 0, 0}));      // top-right: was top-left
    EXPECT_TRUE(Near(PixelAt(out.get(), 30, 70), {0, 255, 0}));      // bottom-right: was top-right
    EXPECT_TRUE(Near(PixelAt(out.get(), 10, 70), {255, 255, 255}));  // bottom-left
}

TEST(Spine, WithoutOutputFolderTheBmpLandsBesideTheInput) {
    const std::string dir = MakeTempFolder("spine-beside");
    ASSERT_TRUE(WriteJpeg(dir + "photo.jpg", {}));
    const RunResult r = RunTarvik({"-i", dir + "photo.jpg"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(FileExists(dir + "photo.bmp"));
    const std::vector<std::string> lines = Lines(r.out);
    const std::vector<std::string> status = {
        "Preparing...",  "Importing...",        "Import complete, new files added: 1",
        "Converting...", "Conversion complete", "Files converted: 1 of 1",
    };
    ASSERT_GE(lines.size(), status.size() + 4);
    EXPECT_EQ(lines[0], "Quorvane JPG to BMP 2.8");
    EXPECT_EQ(lines[3], " ");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end()), status);
    EXPECT_EQ(r.err, "");
}

TEST(Spine, BadInputsAreReportedNotConverted) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const std::vector<std::uint8_t> encoded = fixtures::EncodeJpeg({});
    const std::string jpeg(encoded.begin(), encoded.end());
    // The frame header's height and width, raised to 40000 x 40000.
    std::string huge = jpeg;
    const std::size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge.replace(sof + 5, 4, "\x9C\x40\x9C\x40");
    const Case cases[] = {
        {"text", "this is not a picture at all", "Not a JPEG file"},
        {"truncated", jpeg.substr(0, 40), "The JPEG file is truncated"},
        {"png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\0'), "Not a JPEG file"},
        {"no image", std::string("\xFF\xD8\xFF\xD9", 4),
         "Not a complete JPEG image, or it cannot be read"},
        {"too large", huge, "The image is larger than the limit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = MakeTempFolder(std::string("spine-bad-") + c.name);
        ASSERT_TRUE(WriteFile(dir + "bad.jpg", c.bytes));
        const RunResult r = RunTarvik({"-d", "-i", dir + "bad.jpg"});
        EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
        EXPECT_EQ(r.signal, 0);
        const std::vector<std::string> lines = Lines(r.out);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "Conversion stopped");
        EXPECT_EQ(lines[lines.size() - 2], "Not OK");
        EXPECT_EQ(r.err, "Not converted: " + dir + "bad.jpg (" + c.reason + ")\n");
        EXPECT_EQ(ListFolder(dir), std::vector<std::string>{"bad.jpg"});  // nothing else written
    }
}

TEST(Spine, OneBadFileAmongGoodOnesIsOnlyMissingFromTheCount) {
    const std::string dir = MakeTempFolder("spine-mixed");
    ASSERT_TRUE(WriteJpeg(dir + "a.jpg", {}));
    ASSERT_TRUE(WriteFile(dir + "b.jpg", "not a jpeg"));
    ASSERT_TRUE(WriteJpeg(dir + "c.jpg", {.grey = true}));
    const RunResult r = RunTarvik({"-i", dir + "a.jpg", dir + "b.jpg", dir + "c.jpg"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("Files converted: 2 of 3\n"), std::string::npos) << r.out;
    EXPECT_TRUE(FileExists(dir + "a.bmp"));
    EXPECT_FALSE(FileExists(dir + "b.bmp"));
    EXPECT_TRUE(FileExists(dir + "c.bmp"));
}

TEST(Spine, MasksNeverOverwriteTheInputAndMayNameSubfolders) {
    const std::string dir = MakeTempFolder("spine-masks");
    ASSERT_TRUE(WriteJpeg(dir + "photo.jpg", {}));
    const std::string original = ReadFile(dir + "photo.jpg");

    RunResult r = RunTarvik({"-q", "-i", dir + "photo.jpg", "--filename-mask=%filename%.jpg"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "Conversion stopped\n");
    EXPECT_EQ(r.err, "Not converted: " + dir + "photo.jpg (The output would replace the input)\n");
    EXPECT_EQ(ReadFile(dir + "photo.jpg"), original);

    r = RunTarvik({"-q", "-i", dir + "photo.jpg", "--filename-mask=%yyyy%/raw/%filename%.%ext%"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> years = ListFolder(dir);
    std::erase(years, "photo.jpg");
    ASSERT_EQ(years.size(), 1u);
    EXPECT_TRUE(FileExists(dir + years.front() + "/raw/photo.bmp"));
}

TEST(Spine, FrameAndWatermarkAreDrawnByTheLoadedModule) {
    const std::string dir = MakeTempFolder("spine-drawing");
    ASSERT_TRUE(WriteJpeg(
        dir + "flat.jpg",
        {.width = 200, .height = 100, .quality = 100, .pattern = Pattern::Flat, .rgb = 0x808080}));
    const RunResult r = RunTarvik(
        {"-q", "-i", dir + "flat.jpg", "--fr-solid-top=10", "--fr-solid-top-color=FF0000",
         "--wm-text=Mark", "--wm-font=Arial", "--wm-back-color=0000FF", "--wm-back-opacity=255",
         "--wm-text-position=bottomleft", "--wm-text-x-offset=0", "--wm-text-y-offset=0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Image out = LoadBmp(dir + "flat.bmp");
    ASSERT_TRUE(out);
    EXPECT_TRUE(Near(PixelAt(out.get(), 100, 4), {255, 0, 0}));  // top band
    EXPECT_TRUE(Near(PixelAt(out.get(), 100, 50), {128, 128, 128}));
    EXPECT_TRUE(Near(PixelAt(out.get(), 1, 98), {0, 0, 255}));  // the text's box
}

TEST(Spine, TheExecutableLinksNoGuiToolkit) {
    const RunResult r = RunProgram({"/usr/bin/ldd", TARVIK_BINARY});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.find("libQt"), std::string::npos) << r.out;
    // Nor the drawing libraries: they come with the module, when needed.
    EXPECT_EQ(r.out.find("libcairo"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("libpango"), std::string::npos) << r.out;
}

TEST(Spine, OutputNamesAsLongAsTheFileSystemAllowsSave) {
    const std::string dir = MakeTempFolder("spine-long");
    for (const std::size_t length : {244u, 250u, 255u}) {
        const std::string stem(length - 4, 'p');
        ASSERT_TRUE(WriteJpeg(dir + stem + ".jpg", {}));
        const RunResult r = RunTarvik({"-q", "-i", stem + ".jpg"}, dir);
        EXPECT_EQ(r.exitCode, 0) << length << ": " << r.err;
        EXPECT_TRUE(FileExists(dir + stem + ".bmp")) << length;
    }
}

TEST(Spine, ResizingBeyondTheDecodeLimitIsRefusedBeforeItIsDone) {
    const std::string dir = MakeTempFolder("spine-resize-limit");
    ASSERT_TRUE(WriteJpeg(dir + "photo.jpg", {.width = 200, .height = 100}));
    const RunResult r =
        RunTarvik({"-q", "-i", "photo.jpg", "--width=40000", "--height=40000"}, dir);
    EXPECT_EQ(r.exitCode, 2) << r.out;
    EXPECT_EQ(r.err, "Not converted: " + dir + "photo.jpg (The image is larger than the limit)\n");
    EXPECT_EQ(ListFolder(dir), std::vector<std::string>{"photo.jpg"});
}

TEST(Spine, QuietRunsStayQuietWithHugeFontSizes) {
    // The drawing library warns on stderr for fonts it cannot scale.
    const std::string dir = MakeTempFolder("spine-font-size");
    ASSERT_TRUE(WriteJpeg(dir + "photo.jpg", {.width = 200, .height = 100}));
    for (const char* size : {"--wm-font-size=50000", "--wm-font-size=2000000"}) {
        const RunResult r = RunTarvik({"-q", "-i", "photo.jpg", "--wm-text=Hello", size}, dir);
        EXPECT_EQ(r.exitCode, 0) << size;
        EXPECT_EQ(r.out, "") << size;
        EXPECT_EQ(r.err, "") << size;
    }
}

}  // namespace
}  // namespace tarvik::test
