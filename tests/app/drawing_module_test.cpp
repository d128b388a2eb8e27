// The drawing module as the program loads it: one exported entry, nothing
// taken from the program, and a file that asked for a drawing step fails
// when the module is missing instead of being written without it.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/fixtures.h"

namespace tarvik {
namespace {

using test::FileExists;
using test::Lines;
using test::ListFolder;
using test::MakeTempFolder;
using test::RunProgram;
using test::RunResult;

std::string BuildFolder() {
    return std::filesystem::path(TARVIK_BINARY).parent_path().string() + "/";
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

TEST(DrawingModule, ExportsOneEntryAndTheProgramExportsNothingOfItsOwn) {
    const std::string module = BuildFolder() + "libtarvik-draw.so";
    RunResult r =
        RunProgram({"/usr/bin/nm", "-D", "--defined-only", "--format=just-symbols", module});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Words(r.out), std::vector<std::string>{"tarvik_drawing_module"});

    r = RunProgram({"/usr/bin/nm", "-DC", "--defined-only", TARVIK_BINARY});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.find("tarvik"), std::string::npos) << r.out;
}

// The module takes its inputs as arguments: a copy of the program's records
// inside it would silently read defaults instead of the job's settings.
TEST(DrawingModule, CarriesNoCopyOfTheProgramsRecords) {
    const RunResult r = RunProgram({"/usr/bin/nm", "-C", BuildFolder() + "libtarvik-draw.so"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* record : {"tarvik::Settings", "tarvik::Job", "tarvik::InputList"}) {
        for (const std::string& line : Lines(r.out)) {
            EXPECT_FALSE(line.ends_with(std::string(" ") + record)) << line;
        }
    }
}

// What the dynamic loader opens, as it reports it on standard error.
TEST(DrawingModule, IsLoadedOnlyByAJobThatDraws) {
    const std::string dir = MakeTempFolder("module-load");
    ASSERT_TRUE(test::WriteJpeg(dir + "photo.jpg", {}));
    ASSERT_TRUE(test::WriteFile(dir + "broken.jpg", "not a picture"));
    const struct {
        std::vector<std::string> args;
        bool loads;
    } cases[] = {
        {{"photo.jpg"}, false},
        {{"photo.jpg", "--rotation=90", "--greyscale", "--bmp-bpp=8"}, false},
        {{"broken.jpg"}, false},
        {{"photo.jpg", "--fr-solid-top=3"}, true},
        {{"photo.jpg", "--wm-text=Mark"}, true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> argv = {"/usr/bin/env", "LD_DEBUG=files", TARVIK_BINARY, "-q",
                                         "-i"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const RunResult r = RunProgram(argv, dir);
        EXPECT_EQ(r.err.find("libtarvik-draw.so") != std::string::npos, c.loads) << c.args.back();
        EXPECT_EQ(r.err.find("libcairo") != std::string::npos, c.loads) << c.args.back();
    }
}

class WithoutModule : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = MakeTempFolder("no-module");
        ASSERT_FALSE(dir_.empty());
        // The program alone, with no module beside it or in ../lib/tarvik/.
        std::filesystem::create_directory(dir_ + "bin");
        std::filesystem::copy_file(TARVIK_BINARY, dir_ + "bin/tarvik");
        ASSERT_TRUE(test::WriteJpeg(dir_ + "photo.jpg", {}));
        ASSERT_TRUE(test::WriteJpeg(dir_ + "mark.jpg", {.width = 8, .height = 8}));
    }

    RunResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), dir_ + "bin/tarvik");
        return RunProgram(args, dir_);
    }

    std::string dir_;
};

TEST_F(WithoutModule, AFrameOrPictureWatermarkFailsTheFileAndSaysWhy) {
    const std::vector<std::vector<std::string>> jobs = {
        {"--fr-solid-left=12"},
        {"--wm-image=" + dir_ + "mark.jpg"},
    };
    for (const auto& job : jobs) {
        SCOPED_TRACE(job.front());
        std::vector<std::string> args = {"-d", "-i", "photo.jpg"};
        args.insert(args.end(), job.begin(), job.end());
        const RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
        const std::vector<std::string> out = Lines(r.out);
        ASSERT_GE(out.size(), 2u);
        EXPECT_EQ(out[out.size() - 2], "Not OK");
        EXPECT_EQ(out.back(), "Conversion stopped");
        EXPECT_EQ(r.err, "Not converted: " + dir_ +
                             "photo.jpg (The drawing part of the program is not installed)\n");
        EXPECT_FALSE(FileExists(dir_ + "photo.bmp"));
    }
}

TEST_F(WithoutModule, ATextWatermarkIsRefusedForTheMissingModuleNotTheFont) {
    const RunResult r = Run({"-q", "-i", "photo.jpg", "--wm-text=Mark", "--wm-font=Arial"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Error: The drawing part of the program is not installed\n");
    EXPECT_EQ(ListFolder(dir_), (std::vector<std::string>{"bin", "mark.jpg", "photo.jpg"}));
}

TEST_F(WithoutModule, APlainConversionNeedsNoModule) {
    const RunResult r = Run({"-q", "-i", "photo.jpg", "--width=50", "--width-unit=percent",
                             "--height=50", "--height-unit=percent"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(FileExists(dir_ + "photo.bmp"));
}

}  // namespace
}  // namespace tarvik
