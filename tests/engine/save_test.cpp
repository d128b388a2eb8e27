// The save step: truthful BMP headers at every depth, outputs that never
// replace their input, missing folders created, failures leaving nothing.
#include "engine/save.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bitmap_fixtures.h"
#include "core/formats.h"
#include "engine/depth.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using test_bitmaps::DecodeRle8;
using test_bitmaps::EngineTest;
using test_bitmaps::GradientBitmap;
using test_bitmaps::IndexAt;
using test_bitmaps::SamePixels;
using test_bitmaps::ScratchFolder;

constexpr std::uint32_t kBiRle8 = 1;

class SaveTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        CreateFormatLists();
        Job.OutputExtension = "bmp";
        Job.OutputFormatId = FIF_BMP;
    }

    // The gradient at a depth, through the pipeline's own depth step.
    Bitmap AtDepth(int bpp) {
        Job.AutoBpp = 0;
        Job.OutputBpp = bpp;
        return ApplyOutputDepth(GradientBitmap(67, 23));
    }

    ScratchFolder folder_;
};

TEST_F(SaveTest, HeadersTellTheTruthAtEveryDepthAndCompression) {
    for (const int bpp : {1, 4, 8, 16, 24, 32}) {
        for (const int compression : {0, 1}) {
            SCOPED_TRACE(testing::Message() << bpp << " bpp, compression " << compression);
            Settings.Output.BmpCompression = compression;
            Job.SaveFlags = OutputSaveFlags("bmp");
            const Bitmap image = AtDepth(bpp);
            ASSERT_TRUE(image);
            const std::string path = folder_.Path() + "out.bmp";
            ASSERT_EQ(SaveOutputImage(image.get(), path), SaveResult::Saved);

            const std::string bytes = test::ReadFile(path);
            const test::BmpHeader h = test::ParseBmpHeader(bytes);
            ASSERT_TRUE(h.valid);
            EXPECT_EQ(h.fileSize, bytes.size());
            EXPECT_EQ(h.bpp, bpp);
            if (h.compression != 0) {
                EXPECT_EQ(h.imageSize, bytes.size() - h.pixelOffset);
            }
            if (h.compression == kBiRle8) {
                EXPECT_EQ(bpp, 8);
                // FreeImage cannot read its own RLE back; decode it here.
                const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
                const std::vector<int> decoded = DecodeRle8(data, h.pixelOffset, 67, 23);
                std::vector<int> expected;
                for (unsigned y = 0; y < 23; ++y) {
                    for (unsigned x = 0; x < 67; ++x) {
                        expected.push_back(IndexAt(image, x, y));
                    }
                }
                EXPECT_EQ(decoded, expected);
            } else {
                const Bitmap back(FreeImage_Load(FIF_BMP, path.c_str(), 0));
                ASSERT_TRUE(back);
                EXPECT_TRUE(SamePixels(back.get(), image.get()));
            }
        }
    }
}

TEST_F(SaveTest, AnOutputNamingTheInputItselfIsRefused) {
    const std::string input = folder_.Path() + "photo.jpg";
    ASSERT_TRUE(test::WriteFile(input, "original bytes"));
    ASSERT_EQ(link(input.c_str(), (folder_.Path() + "hard-link.bmp").c_str()), 0);
    Job.SourceFile = input;
    const Bitmap image = AtDepth(24);
    for (const std::string& target :
         {input, folder_.Path() + "./photo.jpg", folder_.Path() + "hard-link.bmp"}) {
        EXPECT_NE(SaveOutputImage(image.get(), target), SaveResult::Saved) << target;
    }
    EXPECT_EQ(test::ReadFile(input), "original bytes");
    EXPECT_EQ(test::ListFolder(folder_.Path()),
              (std::vector<std::string>{"hard-link.bmp", "photo.jpg"}));
}

TEST_F(SaveTest, MissingFoldersOfTheOutputPathAreCreated) {
    const Bitmap image = AtDepth(24);
    const std::string path = folder_.Path() + "2020/summer/out.bmp";
    ASSERT_EQ(SaveOutputImage(image.get(), path), SaveResult::Saved);
    EXPECT_TRUE(test::FileExists(path));
    // A file standing where a folder is needed fails the save cleanly.
    ASSERT_TRUE(test::WriteFile(folder_.Path() + "blocker", "x"));
    EXPECT_NE(SaveOutputImage(image.get(), folder_.Path() + "blocker/out.bmp"), SaveResult::Saved);
    EXPECT_EQ(test::ReadFile(folder_.Path() + "blocker"), "x");
}

TEST_F(SaveTest, AFailedSaveLeavesTheExistingOutputAndNoTemporaryFile) {
    const Bitmap image = AtDepth(24);
    const std::string path = folder_.Path() + "out.bmp";
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);  // the rename over it must fail
    ASSERT_TRUE(test::WriteFile(path + "/inside", "kept"));
    EXPECT_NE(SaveOutputImage(image.get(), path), SaveResult::Saved);
    EXPECT_EQ(test::ReadFile(path + "/inside"), "kept");
    EXPECT_EQ(test::ListFolder(folder_.Path()), std::vector<std::string>{"out.bmp"});

    Job.OutputBpp = 8;
    Settings.Output.BmpColorTable = 1;  // the exact-colour-table writer too
    const Bitmap palette = AtDepth(8);
    EXPECT_NE(SaveOutputImage(palette.get(), path), SaveResult::Saved);
    EXPECT_EQ(test::ListFolder(folder_.Path()), std::vector<std::string>{"out.bmp"});
}

// A file-size limit cuts the output short as a full disk would: no write,
// flush or close failure may pass for a saved file, at any depth, with or
// without RLE, through either writer.
class ShortWrite : public SaveTest {
  protected:
    void SetUp() override {
        SaveTest::SetUp();
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
        previous_ = signal(SIGXFSZ, SIG_IGN);
    }
    void TearDown() override {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previous_);
        SaveTest::TearDown();
    }

    SaveResult SaveUnder(FIBITMAP* image, const std::string& path, rlim_t limit) {
        rlimit small = saved_;
        small.rlim_cur = limit;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const SaveResult result = SaveOutputImage(image, path);
        setrlimit(RLIMIT_FSIZE, &saved_);
        return result;
    }

    rlimit saved_{};
    sighandler_t previous_ = SIG_DFL;
};

TEST_F(ShortWrite, KeepsTheOlderOutputAtEveryDepthCompressionAndTable) {
    const std::string path = folder_.Path() + "out.bmp";
    for (const int bpp : {1, 4, 8, 16, 24, 32}) {
        for (const int compression : {0, 1}) {
            for (const int table : {0, 1}) {
                if (table == 1 && bpp != 8) {
                    continue;
                }
                SCOPED_TRACE(testing::Message() << bpp << " bpp, compression " << compression
                                                << ", exact table " << table);
                Settings.Output.BmpCompression = compression;
                Settings.Output.BmpColorTable = table;
                Job.SaveFlags = OutputSaveFlags("bmp");
                const Bitmap image = AtDepth(bpp);
                ASSERT_EQ(SaveOutputImage(image.get(), path), SaveResult::Saved);
                const std::size_t size = test::ReadFile(path).size();
                ASSERT_TRUE(test::WriteFile(path, "older output"));
                for (const rlim_t limit : {rlim_t{size - 1}, rlim_t{size / 2}, rlim_t{60}}) {
                    EXPECT_EQ(SaveUnder(image.get(), path, limit), SaveResult::Failed) << limit;
                    EXPECT_EQ(test::ReadFile(path), "older output") << limit;
                    EXPECT_EQ(test::ListFolder(folder_.Path()),
                              std::vector<std::string>{"out.bmp"});
                }
                EXPECT_EQ(SaveUnder(image.get(), path, size), SaveResult::Saved);
                EXPECT_EQ(test::ReadFile(path).size(), size);
            }
        }
    }
}

TEST_F(SaveTest, WritesGoThroughTheDescriptorNeverTheName) {
    // The hidden name of the temporary file is replaced by a link to a file
    // outside the folder before the image is written into it.
    const ScratchFolder elsewhere;
    const std::string victim = elsewhere.Path() + "precious";
    ASSERT_TRUE(test::WriteFile(victim, "precious"));
    const std::string path = folder_.Path() + "out.bmp";
    const Bitmap image = AtDepth(24);
    TempFile file(path, TempFile::Kind::kNamed);
    ASSERT_TRUE(file.Ok());
    const std::string hidden = folder_.Path() + file.Name();
    ASSERT_EQ(unlink(hidden.c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), hidden.c_str()), 0);
    EXPECT_TRUE(WriteImage(file, image.get(), FIF_BMP, 0));
    EXPECT_EQ(test::ReadFile(victim), "precious");
}

}  // namespace
}  // namespace tarvik
