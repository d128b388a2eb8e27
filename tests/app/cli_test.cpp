// The command line: the option loop in-process, then the real binary over
// tables of argument lists (output streams, exit status, files written).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/entry.h"
#include "app/parameters.h"
#include "cli/inputs.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/settings.h"
#include "engine/conversion.h"
#include "engine/worker.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using test::FileExists;
using test::Lines;
using test::ListFolder;
using test::MakeTempFolder;
using test::ParseBmpHeader;
using test::ReadFile;
using test::RunResult;
using test::RunTarvik;
using test::WriteFile;
using test::WriteJpeg;

constexpr const char* kParameters = "Incorrect number of parameters";
constexpr const char* kProfile = "Invalid profile file";

class OptionLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateFormatLists();
        dir_ = MakeTempFolder("option-loop");
        ASSERT_FALSE(dir_.empty());
        ASSERT_TRUE(WriteFile(dir_ + "p.ini", "[CLI]\r\n--jpg-quality = 50\r\n--width = 7\r\n"));
        ASSERT_TRUE(WriteFile(dir_ + "q.ini", "[CLI]\r\n--JPG-Quality = 60\r\n"));
    }

    // Runs the loop over the arguments as the program would see them.
    OptionPass Read(const std::vector<std::string>& args) {
        ResetJob();
        ExtraInputWords.clear();
        ResetSettings(true);
        std::vector<std::string> words = {"tarvik"};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& w : words) {
            argv.push_back(w.data());
        }
        SetParameters(static_cast<int>(argv.size()), argv.data());
        return ReadOptions();
    }

    std::string dir_;
};

TEST_F(OptionLoop, ArgumentListsGiveFieldValues) {
    using Check = std::function<void(const OptionPass&)>;
    struct Case {
        std::vector<std::string> args;
        const char* error;
        Check check;
    };
    const auto& s = Settings;
    const std::string p = "--profile=" + dir_ + "p.ini";
    const std::string q = "--profile=" + dir_ + "q.ini";
    const Case cases[] = {
        {{"--JPG-Quality=80"}, "", [&](auto&) { EXPECT_EQ(s.Output.JpgQuality, 80); }},
        {{"--resize-algorithm=lanczos"},
         "",
         [&](auto&) { EXPECT_EQ(s.Transform.ImageResizeAlgorithm, 5); }},
        {{"--resize-algorithm=lanczos3"},
         "",
         [&](auto&) { EXPECT_EQ(s.Transform.ImageResizeAlgorithm, 0); }},
        {{"--wm-image-size=fixed", "--wm-text-size=proportional"},
         "",
         [&](auto&) { EXPECT_EQ(s.Watermark.TextSize, 0); }},
        {{"--jpg-quality=$5A"}, "", [&](auto&) { EXPECT_EQ(s.Output.JpgQuality, 90); }},
        {{"--jpg-quality=%1010"}, "", [&](auto&) { EXPECT_EQ(s.Output.JpgQuality, 10); }},
        {{"--tiff-compression=zip"}, "", [&](auto&) { EXPECT_EQ(s.Output.TiffCompression, 1); }},
        {{"--invert=0"},
         "",
         [&](auto&) {
             EXPECT_EQ(s.Adjustment.ImageInvert, 1);
             EXPECT_EQ(s.Adjustment.DoImageColorCorrection, 1);
         }},
        {{"--brightness=-20"}, "", [&](auto&) { EXPECT_EQ(s.Adjustment.ImageBrightness, -20); }},
        {{"--brightness=--20"},
         kParameters,
         [&](auto&) { EXPECT_EQ(s.Adjustment.DoImageColorCorrection, 0); }},
        {{"--width=50", "--width-unit=percent"},
         "",
         [&](auto&) {
             EXPECT_EQ(s.Transform.DoImageResize, 1);
             EXPECT_EQ(s.Transform.ImageWidth, 50);
             EXPECT_EQ(s.Transform.ImageWidthUnit, 1);
         }},
        {{"-I", "a.jpg", "--OUTPUT=o", "-C", "bmp", "-D", "--Quiet", "-P"},
         "",
         [&](const OptionPass& pass) {
             EXPECT_EQ(Job.CommandLineJob, 1);
             EXPECT_EQ(Job.InputPath, "a.jpg");
             EXPECT_EQ(Job.OutputFolder, "o");
             EXPECT_EQ(Job.OutputExtension, "bmp");
             EXPECT_EQ(Job.RunMode, "DEBUG");
             EXPECT_TRUE(pass.Quiet);
             EXPECT_TRUE(pass.Pause);
         }},
        {{"-i", "\"/my files/a.jpg\""},
         "",
         [&](auto&) { EXPECT_EQ(Job.InputPath, "/my files/a.jpg"); }},
        {{"--input=\"/my files/a.jpg\""},
         "",
         [&](auto&) { EXPECT_EQ(Job.InputPath, "/my files/a.jpg"); }},
        {{"-i", "a.jpg", "b.jpg", "-o", "out", "c.jpg", "-i", "d.jpg"},
         "",
         [&](auto&) {
             EXPECT_EQ(Job.InputPath, "a.jpg");
             EXPECT_EQ(ExtraInputWords, (std::vector<std::string>{"b.jpg", "c.jpg", "d.jpg"}));
             EXPECT_EQ(Job.OutputFolder, "out");
         }},
        {{"stray", "-i=a.jpg", "/?"},
         "",
         [&](auto&) {
             EXPECT_EQ(Job.CommandLineJob, 0);
             EXPECT_TRUE(ExtraInputWords.empty());
         }},
        {{"--greyscale=no", "--debug=x", "--quiet=0"},
         "",
         [&](const OptionPass& pass) {
             EXPECT_EQ(s.Adjustment.DoImageGreyscale, 1);
             EXPECT_EQ(Job.RunMode, "DEBUG");
             EXPECT_TRUE(pass.Quiet);
         }},
        {{"--width=5", "-v", "-h", "--version"},
         "",
         [&](auto&) { EXPECT_EQ(s.Transform.ImageWidth, 5); }},
        {{"-i"}, kParameters, nullptr},
        {{"--input"}, kParameters, nullptr},
        {{"--input="}, kParameters, nullptr},
        {{"-i", "-o", "x"}, kParameters, nullptr},
        {{"-o", "-x"}, kParameters, nullptr},
        {{"--output=-x"}, kParameters, nullptr},
        {{"-c"}, kParameters, nullptr},
        {{"--width"}, kParameters, nullptr},
        {{"--width", "100"}, kParameters, nullptr},
        {{"--profile"}, kParameters, nullptr},
        {{"--profile="}, kParameters, nullptr},
        {{"--profile=--p.ini"}, kParameters, nullptr},
        {{"--profile=" + dir_ + "missing.ini"}, kProfile, nullptr},
        {{"--profile=" + dir_}, kProfile, nullptr},
        {{"--width=", "--height=5", "-q"},
         kParameters,
         [&](const OptionPass& pass) {
             EXPECT_EQ(s.Transform.ImageHeight, 0);  // the loop stopped
             EXPECT_FALSE(pass.Quiet);
         }},
        {{"-q", "-p", "--width"},
         kParameters,
         [&](const OptionPass& pass) {
             EXPECT_TRUE(pass.Quiet);
             EXPECT_TRUE(pass.Pause);
         }},
        {{"--width", "-p"}, kParameters, [&](const OptionPass& pass) { EXPECT_FALSE(pass.Pause); }},
        {{"--jpg-quality=10", p},
         "",
         [&](auto&) {
             EXPECT_EQ(s.Output.JpgQuality, 50);
             EXPECT_EQ(s.Transform.DoImageResize, 1);
         }},
        {{p, "--jpg-quality=10"}, "", [&](auto&) { EXPECT_EQ(s.Output.JpgQuality, 10); }},
        {{p, q},
         "",
         [&](auto&) {
             EXPECT_EQ(s.Output.JpgQuality, 60);
             EXPECT_EQ(s.Transform.ImageWidth, 7);
         }},
        {{q, p}, "", [&](auto&) { EXPECT_EQ(s.Output.JpgQuality, 50); }},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const std::string& a : c.args) {
            trace += a + " ";
        }
        SCOPED_TRACE(trace);
        const OptionPass pass = Read(c.args);
        EXPECT_EQ(pass.Error, c.error);
        if (c.check) {
            c.check(pass);
        }
    }
}

// TARVIK_THREADS sets the threads of a command-line run: a whole number
// from 1, bounded; anything else leaves one per hardware thread.
TEST(ThreadsVariable, SetsTheThreadsOfARun) {
    const int hardware = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const struct {
        const char* value;  // nullptr: unset
        int threads;
    } cases[] = {{"1", 1},       {"3", 3},        {" 2", 2},        {nullptr, hardware},
                 {"", hardware}, {"0", hardware}, {"-2", hardware}, {"many", hardware},
                 {"1000", 64}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value != nullptr ? c.value : "unset");
        if (c.value != nullptr) {
            setenv(kThreadsVariable, c.value, 1);
        } else {
            unsetenv(kThreadsVariable);
        }
        SetConversionThreads(7);  // what an earlier job left
        std::string words[] = {"tarvik", "-q", "-i", "missing.jpg"};
        char* argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data()};
        EXPECT_EQ(RunProgram(4, argv), 1);
        EXPECT_EQ(WorkerThreadsFor(1000), c.threads);
    }
    unsetenv(kThreadsVariable);
    SetConversionThreads(0);
}

// The real binary, run in a folder of fixtures as its current directory.
class Binary : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = MakeTempFolder("cli");
        ASSERT_FALSE(dir_.empty());
        ASSERT_TRUE(WriteJpeg(dir_ + "a.jpg", {.width = 64, .height = 48}));
        ASSERT_TRUE(WriteJpeg(dir_ + "photo", {}));
        ASSERT_TRUE(WriteJpeg(dir_ + "pic.png", {}));
        ASSERT_TRUE(WriteFile(dir_ + "list.txt", dir_ + "a.jpg\n"));
        ASSERT_TRUE(WriteFile(dir_ + "empty.jpg", ""));
        ASSERT_EQ(mkdir((dir_ + "folder.jpg").c_str(), 0777), 0);
        ASSERT_EQ(mkdir((dir_ + "out").c_str(), 0777), 0);
        ASSERT_EQ(mkdir((dir_ + "pics").c_str(), 0777), 0);
        ASSERT_TRUE(WriteJpeg(dir_ + "pics/p1.jpg", {.width = 30, .height = 20}));
        ASSERT_TRUE(WriteJpeg(dir_ + "pics/p2.jpg", {.width = 20, .height = 30, .grey = true}));
    }

    RunResult Run(const std::vector<std::string>& args) { return RunTarvik(args, dir_); }

    std::string dir_;
};

std::vector<std::string> Banner() {
    return {"Quorvane JPG to BMP 2.8", "Copyright (c) 2026 Quorvane. All rights reserved.",
            "https://www.quorvane.example/tarvik/", " "};
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The lines from the first equal to `from` to the first equal to `to`.
std::vector<std::string> Between(const std::vector<std::string>& lines, const std::string& from,
                                 const std::string& to) {
    std::vector<std::string> out;
    bool in = false;
    for (const std::string& line : lines) {
        in = in || line == from;
        if (in) {
            out.push_back(line);
            if (line == to) {
                break;
            }
        }
    }
    return out;
}

// An error about a file or a folder is followed by one line naming it and
// the cause.
TEST_F(Binary, EachRejectedJobPrintsOneErrorLineAndWritesNothing) {
    struct Case {
        std::vector<std::string> args;
        const char* error;
        std::string detail;
    };
    const std::string missing = ": No such file or directory";
    const std::string parent = dir_.substr(0, dir_.rfind('/', dir_.size() - 2) + 1);
    const std::string dots = ": begins with '..'; give the folder as an absolute path, such as '";
    const Case cases[] = {
        {{"-i"}, kParameters, ""},
        {{"--input=", "a.jpg"}, kParameters, ""},
        {{"-i", "-o", "out"}, kParameters, ""},
        {{"-i", "a.jpg", "-o", "-x"}, kParameters, ""},
        {{"-i", "a.jpg", "--width"}, kParameters, ""},
        {{"-i", "a.jpg", "--width", "100"}, kParameters, ""},
        {{"-i", "a.jpg", "--brightness=--20"}, kParameters, ""},
        {{"-i", "a.jpg", "--profile=missing.ini"}, kProfile, "  missing.ini" + missing},
        {{"--profile=missing.ini", "-i", "missing.jpg"}, kProfile, "  missing.ini" + missing},
        {{"-i", "a.jpg", "--profile=pics"}, kProfile, "  pics: is a folder"},
        {{"-i", "missing.jpg"}, "Invalid input file", "  missing.jpg" + missing},
        {{"-i", "photo"},
         "Invalid input file",
         "  photo: has no extension; JPEG files end in .jpg, .jpeg, .jpe, .jif"},
        {{"-i", "empty.jpg"}, "Invalid input file", "  empty.jpg: is an empty file"},
        {{"-i", "folder.jpg"},
         "Invalid input file",
         "  folder.jpg: is a folder; give a pattern such as 'folder.jpg/*.jpg'"},
        {{"-i", "pics"},
         "Invalid input file",
         "  pics: is a folder; give a pattern such as 'pics/*.jpg'"},
        {{"-i", "pics/*.JPEG"}, "Invalid input file", "  'pics/*.JPEG': matches no file"},
        {{"-i", "*.gif"}, "Invalid input file", "  '*.gif': matches no file"},
        {{"-i", "a.jpg", "none*.jpg"}, "Invalid input file", "  'none*.jpg': matches no file"},
        {{"-i", "missing.jpg", "-o", "..x", "-c", "png"},
         "Invalid input file",
         "  missing.jpg" + missing},
        {{"-i", "a.jpg", "-o", "..x"}, "Incorrect output folder", "  ..x" + dots + dir_ + "..x'"},
        {{"-i", "a.jpg", "-o", "../out", "-c", "png"},
         "Incorrect output folder",
         "  ../out" + dots + parent + "out'"},
        {{"-i", "a.jpg", "-o", "nosuch"}, "Invalid output folder", "  nosuch" + missing},
        {{"-i", "a.jpg", "-o", "a.jpg"}, "Invalid output folder", "  a.jpg: is not a folder"},
        {{"-i", "a.jpg", "-o", "a.jpg/in"}, "Invalid output folder", "  a.jpg/in: Not a directory"},
        {{"-i", "a.jpg", "-c", "png", "--bmp-bpp=2"}, "Invalid conversion type", ""},
        {{"-i", "a.jpg", "--bmp-bpp=2", "--width=0"}, "Invalid bmp-bpp value", ""},
        {{"-i", "a.jpg", "--width=abc", "--brightness=500"}, "Invalid width value", ""},
        {{"-i", "a.jpg", "--width=10"}, "Invalid height value", ""},
        {{"-i", "a.jpg", "--height=10"}, "Invalid width value", ""},
        {{"-i", "a.jpg", "--brightness=101", "--gamma=0"}, "Invalid brightness value", ""},
        {{"-i", "a.jpg", "--contrast=-101"}, "Invalid contrast value", ""},
        {{"-i", "a.jpg", "--gamma=10"}, "Invalid gamma value", ""},
        {{"-i", "a.jpg", "--gamma=0.009"}, "Invalid gamma value", ""},
        {{"-i", "a.jpg", "--gamma=NaN"}, "Invalid gamma value", ""},
        {{"-i", "a.jpg", "--wm-text=x", "--wm-font=No Such Family Qzx"},
         "Invalid watermark font",
         ""},
        {{"-i", "a.jpg", "--wm-image=missing.png"},
         "Invalid watermark image",
         "  missing.png" + missing},
        {{"-i", "a.jpg", "--wm-image=empty.jpg", "--wm-font=No Such Family Qzx"},
         "Invalid watermark image",
         "  empty.jpg: is an empty file"},
    };
    const std::vector<std::string> before = ListFolder(dir_);
    for (const Case& c : cases) {
        for (const bool quiet : {false, true}) {
            const std::vector<std::string> args = quiet ? Concat({"-q"}, c.args) : c.args;
            std::string trace;
            for (const std::string& a : args) {
                trace += a + " ";
            }
            SCOPED_TRACE(trace);
            const RunResult r = Run(args);
            EXPECT_EQ(r.exitCode, 1);
            const std::string detail = c.detail.empty() ? "" : c.detail + "\n";
            EXPECT_EQ(r.err, std::string("Error: ") + c.error + "\n" + detail);
            if (quiet) {
                EXPECT_EQ(r.out, "");
            }
            EXPECT_EQ(r.out.find("Importing"), std::string::npos) << r.out;
        }
    }
    EXPECT_EQ(ListFolder(dir_), before);
    EXPECT_TRUE(ListFolder(dir_ + "out").empty());
}

TEST_F(Binary, ParameterErrorsComeBeforeTheBanner) {
    const RunResult r = Run({"-i", "a.jpg", "--width"});
    EXPECT_EQ(r.out, "");
    const RunResult check = Run({"-i", "missing.jpg"});
    EXPECT_EQ(Lines(check.out), Concat(Banner(), {"Preparing..."}));
}

TEST_F(Binary, DebugLinesOfTheDefaultSettings) {
    const RunResult r = Run({"-d", "-i", "a.jpg"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> want =
        Concat(Banner(), {
                             "Preparing...",
                             "Input: a.jpg",
                             "Output: " + dir_,
                             "Conversion: bmp",
                             "BMP BPP: 0",
                             "BMP Compression: NONE",
                             "BMP Color Table: AUTO",
                             "Flip Horizontal: 0",
                             "Flip Vertical: 0",
                             "Greyscale: 0",
                             "Frame: NONE",
                             "Watermark: NONE",
                             "Filename Mask: %filename%.%ext%",
                             "File Timestamp: CURRENT",
                             "Keep Subfolders: 1",
                             "Importing...",
                             "Import complete, new files added: 1",
                             "Converting...",
                             "Processing: " + dir_ + "a.jpg",
                             "Saving As: " + dir_ + "a.bmp",
                             "OK",
                             "Conversion complete",
                             "Files converted: 1 of 1",
                         });
    EXPECT_EQ(Lines(r.out), want);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(FileExists(dir_ + "a.bmp"));
}

TEST_F(Binary, DebugLinesOfSwitchedOnSteps) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::vector<std::string> lines;  // consecutive lines of the output
    };
    const Case cases[] = {
        {"resize in percent",
         {"--width=50", "--width-unit=percent", "--height=50", "--height-unit=percent"},
         {"Width: 50 PERCENT", "Height: 50 PERCENT", "Keep Aspect Ratio: 0",
          "Image Resize Type: ALLIMAGES", "Image Resize Algorithm: BICUBIC", "Flip Horizontal: 0"}},
        {"rotation, adjustment, frame and custom timestamp",
         {"--rotation=90", "--rotation-type=advanced", "--rotation-back-color=FF0000",
          "--flip-vertical", "--gamma=0.456", "--brightness=-5", "--greyscale", "--threshold=100",
          "--fr-solid-left=2", "--fr-solid-top-color=00FF00", "--file-timestamp=custom",
          "--file-timestamp-custom=1000000000"},
         {"BMP Color Table: AUTO",
          "Image Rotation Type: ADVANCED",
          "Image Rotation: 90",
          "Image Rotation Back Color: FF0000",
          "Flip Horizontal: 0",
          "Flip Vertical: 1",
          "Brightness: -5",
          "Contrast: 0",
          "Gamma: 0.46",
          "Invert: 0",
          "Greyscale: 1",
          "Image Threshold: 100",
          "Frame: SOLID",
          "Frame left: 2",
          "Frame right: 0",
          "Frame top: 0",
          "Frame bottom: 0",
          "Frame left color: 000000",
          "Frame right color: 000000",
          "Frame top color: 00FF00",
          "Frame bottom color: 000000",
          "Frame opacity: 255",
          "Watermark: NONE",
          "Filename Mask: %filename%.%ext%",
          "File Timestamp: CUSTOM",
          "Custom Timestamp: 1000000000",
          "Keep Subfolders: 1",
          "Importing..."}},
        {"text watermark",
         {"--wm-text=Hi %filename%", "--wm-text-x-offset=4"},
         {"Watermark: TEXT",
          "Watermark text: Hi %filename%",
          "Watermark font: Arial",
          "Watermark font size: 14",
          "Watermark font leading: 0",
          "Watermark font color: FFFFFF",
          "Watermark font style: REGULAR",
          "Watermark font effect: NONE",
          "Watermark text antialiasing: 0",
          "Watermark text alignment: LEFT",
          "Watermark text padding: 0",
          "Watermark text opacity: 255",
          "Watermark background color: 000000",
          "Watermark background opacity: 1",
          "Watermark boundary: IMAGE",
          "Watermark position: BOTTOMRIGHT",
          "Watermark offset (x/y): 4/10",
          "Watermark rotation: 0",
          "Watermark size/mode: FIXED",
          "Filename Mask: %filename%.%ext%"}},
        {"image watermark",
         {"--wm-image=pics/p1.jpg", "--wm-image-position=topleft", "--wm-image-y-offset=-3",
          "--wm-image-boundary=frame"},
         {"Watermark: IMAGE", "Watermark image: pics/p1.jpg", "Watermark greyscale: 0",
          "Watermark opacity: 255", "Watermark boundary: FRAME", "Watermark position: TOPLEFT",
          "Watermark offset (x/y): 10/-3", "Watermark rotation: 0", "Watermark size/mode: FIXED",
          "Filename Mask: %filename%.%ext%"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r = Run(Concat({"-d", "-i", "a.jpg", "-o", "out"}, c.args));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Between(Lines(r.out), c.lines.front(), c.lines.back()), c.lines) << r.out;
    }
}

TEST_F(Binary, HalfSizeByPercent) {
    const RunResult r = Run({"-q", "-i", "a.jpg", "-o", "out", "--width=50", "--width-unit=percent",
                             "--height=50", "--height-unit=percent"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const test::BmpHeader h = ParseBmpHeader(ReadFile(dir_ + "out/a.bmp"));
    ASSERT_TRUE(h.valid);
    EXPECT_EQ(h.width, 32);
    EXPECT_EQ(h.height, 24);
}

TEST_F(Binary, InputsThatAddNothingStopTheRun) {
    const std::vector<std::string> stopped = {
        "Conversion stopped", "No input file(s) found. Please, add valid file(s) and try again!"};
    for (const char* input : {"pic.png", "list.txt"}) {
        SCOPED_TRACE(input);
        const RunResult r = Run({"-i", input});
        EXPECT_EQ(r.exitCode, 2);
        const std::vector<std::string> lines = Lines(r.out);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[lines.size() - 3], "Import complete, new files added: 0");
        EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), stopped);
        const RunResult quiet = Run({"-q", "-i", input});
        EXPECT_EQ(quiet.exitCode, 2);
        EXPECT_EQ(Lines(quiet.out), stopped);
        EXPECT_EQ(quiet.err, "");
    }
    EXPECT_FALSE(FileExists(dir_ + "a.bmp"));
}

TEST_F(Binary, PatternsAndSeveralInputs) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> written;
        const char* total;
    };
    const Case cases[] = {
        {{"-i", "pics/*.jpg"}, {"pics/p1.bmp", "pics/p2.bmp"}, "Files converted: 2 of 2"},
        {{"-i", "a.jpg", "pics/p2.jpg", "-o", "out"},
         {"out/a.bmp", "out/p2.bmp"},
         "Files converted: 2 of 2"},
        {{"-i", "pics/p*.jpg", "a.jpg", "-o", "./out"},
         {"out/a.bmp", "out/p1.bmp", "out/p2.bmp"},
         "Files converted: 3 of 3"},
        {{"-i", "a.jpg", "-i", "pic.png", "-o", "out"}, {"out/a.bmp"}, "Files converted: 1 of 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Lines(r.out).back(), c.total);
        for (const std::string& file : c.written) {
            EXPECT_TRUE(FileExists(dir_ + file)) << file;
            std::remove((dir_ + file).c_str());
        }
    }
}

TEST_F(Binary, RelativeFoldersFollowTheCurrentDirectory) {
    const RunResult bare = Run({"-q", "-i", "a.jpg"});
    ASSERT_EQ(bare.exitCode, 0) << bare.err;
    EXPECT_TRUE(FileExists(dir_ + "a.bmp"));
    const RunResult out = Run({"-q", "-i", "a.jpg", "-o", "out"});
    ASSERT_EQ(out.exitCode, 0) << out.err;
    EXPECT_TRUE(FileExists(dir_ + "out/a.bmp"));
}

TEST_F(Binary, QuietRunsPrintOnlyThePausePrompt) {
    const RunResult quiet = Run({"-q", "-i", "a.jpg", "-o", "out"});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.out, "");
    const RunResult paused = Run({"-q", "-p", "-i", "a.jpg", "-o", "out"});
    EXPECT_EQ(paused.exitCode, 0);
    EXPECT_EQ(paused.out, "Press any key to exit.\n");
}

TEST_F(Binary, ACommandLineJobLeavesTheConfigurationAlone) {
    const std::string home = MakeTempFolder("cli-config");
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    const RunResult r = Run({"-q", "-i", "a.jpg", "--width=9", "--height=9"});
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(ListFolder(home).empty());
}

TEST_F(Binary, VersionAndHelpAsTheFirstParameter) {
    for (const char* word : {"-v", "-V", "--version", "--VERSION=x"}) {
        const RunResult r = Run({word});
        EXPECT_EQ(r.exitCode, 0) << word;
        EXPECT_EQ(r.out, "2.8\n") << word;
        EXPECT_EQ(r.err, "") << word;
    }
    const RunResult help = Run({"-h"});
    EXPECT_EQ(help.exitCode, 0);
    const std::vector<std::string> lines = Lines(help.out);
    ASSERT_EQ(lines.size(), 36u) << help.out;
    EXPECT_EQ(lines[0], " ");
    EXPECT_EQ(lines[1], "Usage: tarvik -i <filename> [options]");
    EXPECT_EQ(lines[3], "  tarvik -i example.jpg");
    EXPECT_EQ(lines[10], "  -h, -?, --help            Display this help and exit");
    EXPECT_EQ(lines[27],
              "  --profile=FILE            Set configuration file with required settings");
    EXPECT_EQ(lines[35], "  -v, --version             Display version information and exit");
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find('%'), std::string::npos) << line;
    }
    for (const char* word : {"-?", "--help", "--HELP"}) {
        EXPECT_EQ(Run({word}).out, help.out) << word;
    }

    // Later on the command line they are unknown words.
    const RunResult job = Run({"-i", "a.jpg", "-o", "out", "-v", "-h"});
    EXPECT_EQ(job.exitCode, 0);
    EXPECT_EQ(Lines(job.out).front(), "Quorvane JPG to BMP 2.8");
    EXPECT_EQ(Lines(job.out).back(), "Files converted: 1 of 1");
}

}  // namespace
}  // namespace tarvik
