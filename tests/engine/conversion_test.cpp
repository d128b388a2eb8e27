// A run of the conversion worker on its own thread, watched, paused,
// resumed and stopped the way both front ends do it.
#include "engine/conversion.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <thread>

#include "core/formats.h"
#include "core/job.h"
#include "core/settings.h"
#include "engine/bitmap_fixtures.h"
#include "engine/drawing.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using test::WaitUntil;

using test::ListFolder;
using test::MakeTempFolder;

class ConversionRun : public test_bitmaps::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        CreateFormatLists();
        InputList.clear();
        folder_ = MakeTempFolder("conversion-run");
        ASSERT_FALSE(folder_.empty());
        Job.OutputFolder = folder_ + "out/";
        ASSERT_EQ(mkdir(Job.OutputFolder.c_str(), 0755), 0);
        Job.OutputExtension = "bmp";
        FillJobOutputFields();
    }

    void TearDown() override {
        // Never leave a held worker behind for the next test.
        StopConversionWorker();
        FinishConversionWorker();
        InputList.clear();
    }

    // Adds a file to the input list; the list walks its keys in order.
    std::string AddJpeg(const std::string& name, const test::JpegSpec& shape = {}) {
        const std::string path = folder_ + name;
        EXPECT_TRUE(test::WriteJpeg(path, shape));
        InputList[path] = {};
        return path;
    }
    std::string AddBytes(const std::string& name, const std::string& bytes) {
        const std::string path = folder_ + name;
        EXPECT_TRUE(test::WriteFile(path, bytes));
        InputList[path] = {};
        return path;
    }

    std::vector<std::string> Outputs() const { return ListFolder(Job.OutputFolder); }

    std::string folder_;
};

TEST_F(ConversionRun, CountsOnlyConvertedFilesAndNumbersThemWithoutGaps) {
    Settings.Advanced.FilenameMask = "%filename%_%n%.%ext%";
    AddJpeg("a.jpg");
    AddBytes("b.jpg", "not a picture");
    const std::string last = AddJpeg("c.jpg", {.grey = true});

    EXPECT_EQ(RunConversionWorker(), 2);
    const ProgressSnapshot end = ReadConversionProgress();
    EXPECT_EQ(end.Index, 3);
    EXPECT_EQ(end.CurrentFile, last);
    EXPECT_EQ(end.Count, 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"a_00001.bmp", "c_00002.bmp"}));
    EXPECT_FALSE(ConversionWorkerRunning());
}

TEST_F(ConversionRun, ProgressOnlyMovesForwardAndNamesTheFileOfItsIndex) {
    std::vector<std::string> files;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
        files.push_back(AddJpeg(name, {.width = 800, .height = 600}));
    }
    ASSERT_TRUE(StartConversionWorker());
    std::int32_t last = 0;
    while (ConversionWorkerRunning()) {
        const ProgressSnapshot now = ReadConversionProgress();
        ASSERT_GE(now.Index, last);
        if (now.Index > 0) {
            EXPECT_EQ(now.CurrentFile, files[static_cast<std::size_t>(now.Index - 1)]);
        }
        last = now.Index;
    }
    EXPECT_EQ(FinishConversionWorker(), 4);
    EXPECT_EQ(ReadConversionProgress().Index, 4);
}

TEST_F(ConversionRun, APausedRunHoldsBeforeItsFirstFileUntilResumed) {
    AddJpeg("a.jpg");
    AddJpeg("b.jpg");
    PauseConversionWorker();
    ASSERT_TRUE(StartConversionWorker());
    ASSERT_TRUE(WaitUntil(ConversionWorkerHeld));
    // While it waits, the window thread can still read the progress.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(ConversionWorkerRunning());
    EXPECT_EQ(ReadConversionProgress().Index, 0);
    EXPECT_TRUE(Outputs().empty());

    ResumeConversionWorker();
    EXPECT_EQ(FinishConversionWorker(), 2);
    EXPECT_EQ(Outputs().size(), 2u);
}

TEST_F(ConversionRun, StopWhileHeldBetweenFilesStartsNoOtherFile) {
    AddJpeg("a.jpg");
    PauseConversionWorker();
    ASSERT_TRUE(StartConversionWorker());
    ASSERT_TRUE(WaitUntil(ConversionWorkerHeld));
    StopConversionWorker();
    EXPECT_EQ(FinishConversionWorker(), 0);
    EXPECT_EQ(ReadConversionProgress().Index, 0);
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(ConversionRun, StopDuringAFileLetsThatFileFinishAndStartsNoOther) {
    // The first file is large enough that the worker is still in it when
    // the pause lands.
    AddJpeg("a.jpg", {.width = 4000, .height = 3000, .quality = 60});
    AddJpeg("b.jpg");
    AddJpeg("c.jpg");
    ASSERT_TRUE(StartConversionWorker());
    ASSERT_TRUE(WaitUntil([] { return ReadConversionProgress().Index >= 1; }));
    PauseConversionWorker();
    ASSERT_TRUE(WaitUntil(ConversionWorkerHeld));
    const ProgressSnapshot held = ReadConversionProgress();
    EXPECT_LT(held.Index, 3) << "the pause came too late to hold the run inside a file";

    StopConversionWorker();
    // Held inside file k, or before file k + 1: either way k files are done.
    EXPECT_EQ(FinishConversionWorker(), held.Index);
    EXPECT_EQ(ReadConversionProgress().Index, held.Index);
    EXPECT_EQ(Outputs().size(), static_cast<std::size_t>(held.Index));
    EXPECT_TRUE(test::FileExists(Job.OutputFolder + "a.bmp"));
}

TEST_F(ConversionRun, OnlyOneRunAtATime) {
    AddJpeg("a.jpg");
    PauseConversionWorker();
    ASSERT_TRUE(StartConversionWorker());
    EXPECT_FALSE(StartConversionWorker());
    ResumeConversionWorker();
    EXPECT_EQ(FinishConversionWorker(), 1);
    // The gate is open again for the next run.
    EXPECT_EQ(RunConversionWorker(), 1);
}

TEST_F(ConversionRun, OutputFieldsFollowTheFormatsDepthSetting) {
    const struct {
        int bpp;
        int compression;
        int outputBpp;
        int autoBpp;
        int flags;
    } cases[] = {
        {0, 0, 0, 1, 0},
        {8, 1, 8, 0, 1},
        {24, 0, 24, 0, 0},
    };
    for (const auto& c : cases) {
        Settings.Output.BmpBpp = c.bpp;
        Settings.Output.BmpCompression = c.compression;
        Job.OutputExtension = "bmp";
        FillJobOutputFields();
        EXPECT_EQ(Job.OutputFormatId, FIF_BMP);
        EXPECT_EQ(Job.OutputBpp, c.outputBpp) << c.bpp;
        EXPECT_EQ(Job.AutoBpp, c.autoBpp) << c.bpp;
        EXPECT_EQ(Job.SaveFlags, c.flags) << c.compression;
    }
}

TEST_F(ConversionRun, WatermarkChecksNameWhatIsWrong) {
    const std::string picture = folder_ + "mark.png";
    ASSERT_TRUE(test::WriteFile(picture, "any bytes: the check looks at the size only"));
    ASSERT_TRUE(test::WriteFile(folder_ + "empty.png", ""));
    const struct {
        int type;
        std::string font;
        std::string image;
        WatermarkCheck expected;
    } cases[] = {
        {0, "NoSuchFont", "", WatermarkCheck::Ok},
        {1, "Arial", "", WatermarkCheck::Ok},
        {1, "NoSuchFont", "", WatermarkCheck::InvalidFont},
        {2, "", "", WatermarkCheck::EmptyImage},
        {2, "", picture, WatermarkCheck::Ok},
        {2, "", folder_ + "missing.png", WatermarkCheck::InvalidImage},
        {2, "", folder_ + "empty.png", WatermarkCheck::InvalidImage},
        {2, "", folder_, WatermarkCheck::InvalidImage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Settings.Watermark.DoWatermark = static_cast<Byte>(c.type);
        Settings.Watermark.Font = c.font;
        Settings.Watermark.Image = c.image;
        EXPECT_EQ(PrepareWatermark(), c.expected) << c.font << c.image;
        // Only a text watermark keeps a font loaded for the run.
        EXPECT_EQ(WatermarkFontLoaded(), c.type == 1 && c.expected == WatermarkCheck::Ok);
        ReleaseWatermarkFont();
        EXPECT_FALSE(WatermarkFontLoaded());
    }
}

}  // namespace
}  // namespace tarvik
