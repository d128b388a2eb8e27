// Runs over many files with several threads: everything a user sees (names,
// numbers, bytes, debug and error lines, progress, pause and stop) must be
// what converting one file after the other gives.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/catalog.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/settings.h"
#include "engine/bitmap_fixtures.h"
#include "engine/conversion.h"
#include "engine/worker.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using test::WaitUntil;

// Everything written to a standard stream while it lives.
class Captured {
  public:
    explicit Captured(std::FILE* stream) : stream_(stream), file_(std::tmpfile()) {
        std::fflush(stream_);
        saved_ = dup(fileno(stream_));
        dup2(fileno(file_), fileno(stream_));
    }
    ~Captured() {
        Restore();
        std::fclose(file_);
    }
    Captured(const Captured&) = delete;
    Captured& operator=(const Captured&) = delete;

    std::string Text() {
        Restore();
        std::string text;
        std::rewind(file_);
        for (int c; (c = std::fgetc(file_)) != EOF;) {
            text += static_cast<char>(c);
        }
        return text;
    }

  private:
    void Restore() {
        if (saved_ >= 0) {
            std::fflush(stream_);
            dup2(saved_, fileno(stream_));
            close(saved_);
            saved_ = -1;
        }
    }
    std::FILE* stream_;
    std::FILE* file_;
    int saved_ = -1;
};

// What a run leaves behind: its count, every output with its bytes, and the
// lines it printed.
struct Outcome {
    std::int32_t converted = 0;
    std::map<std::string, std::string> outputs;
    std::string out;
    std::string err;
    std::string lastSource;
    int sequence = 0;
};

class BatchRun : public test_bitmaps::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        CreateFormatLists();
        BuildCatalog();
        InputList.clear();
        folder_ = test::MakeTempFolder("batch-run");
        ASSERT_FALSE(folder_.empty());
        Job.OutputExtension = "bmp";
        FillJobOutputFields();
    }

    void TearDown() override {
        StopConversionWorker();
        FinishConversionWorker();
        SetWorkerThreads(0);
        ReleaseWatermarkFont();
        InputList.clear();
    }

    // A list of photos of different sizes and depths, so that a file named
    // or numbered in the wrong order shows; every `failEvery`th file is
    // broken in one of several ways.
    void AddFiles(int count, int failEvery) {
        const std::string junk[] = {"not a picture", ""};
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "p%03d.jpg", i);
            const std::string path = folder_ + name;
            if (failEvery > 0 && i % failEvery == failEvery - 1) {
                const std::string bytes = (i / failEvery) % 3 == 2
                                              ? TruncatedJpeg()
                                              : junk[static_cast<std::size_t>(i / failEvery) % 2];
                ASSERT_TRUE(test::WriteFile(path, bytes));
            } else {
                const test::JpegSpec shape{.width = 40u + static_cast<unsigned>(i) * 3,
                                           .height = 30u + static_cast<unsigned>(i % 7),
                                           .grey = i % 5 == 0};
                ASSERT_TRUE(test::WriteJpeg(path, shape));
            }
            InputList[path] = {};
        }
    }

    std::string TruncatedJpeg() {
        const std::string whole = folder_ + "whole.tmp";
        EXPECT_TRUE(test::WriteJpeg(whole, {.width = 200, .height = 150}));
        const std::string bytes = test::ReadFile(whole);
        std::remove(whole.c_str());
        return bytes.substr(0, bytes.size() / 2);
    }

    // One command-line run with debug lines into a fresh output folder.
    Outcome Run(int threads, const std::string& name) {
        Job.OutputFolder = folder_ + name + "/";
        EXPECT_EQ(mkdir(Job.OutputFolder.c_str(), 0755), 0);
        Job.CommandLineJob = 1;
        Job.RunMode = "DEBUG";
        // The running state every run starts from: %n%, and the previous
        // file's size and depth that a watermark text reads.
        Job.SequenceNumber = 1;
        Job.ImageWidth = Job.ImageHeight = 0;
        FillJobOutputFields();
        SetWorkerThreads(threads);
        Outcome outcome;
        {
            Captured out(stdout);
            Captured err(stderr);
            outcome.converted = RunConversionWorker();
            outcome.out = out.Text();
            outcome.err = err.Text();
        }
        for (const std::string& file : test::ListFolder(Job.OutputFolder)) {
            outcome.outputs[file] = test::ReadFile(Job.OutputFolder + file);
        }
        // The output folder differs between the runs; the rest must not.
        outcome.out = Replace(outcome.out, Job.OutputFolder, "OUT/");
        outcome.err = Replace(outcome.err, Job.OutputFolder, "OUT/");
        outcome.lastSource = Job.SourceFile;
        outcome.sequence = Job.SequenceNumber;
        return outcome;
    }

    static std::string Replace(std::string text, const std::string& from, const std::string& to) {
        for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
            text.replace(at, from.size(), to);
        }
        return text;
    }

    std::string folder_;
};

TEST_F(BatchRun, SeveralThreadsGiveWhatOneThreadGives) {
    const struct {
        const char* name;
        const char* mask;
        int failEvery;
        int depth;      // [Output] BMP BPP
        int watermark;  // 1: a text whose tokens read the running state
        bool frame;
    } cases[] = {
        {"numbered", "%filename%_%n%.%ext%", 4, 0, 0, false},
        {"numbers_only", "%n%.%ext%", 3, 0, 0, false},
        {"one_name_for_all", "same.%ext%", 5, 0, 0, false},
        {"size_and_depth", "%n%_%width%x%height%_%bpp%.%ext%", 4, 0, 0, true},
        {"fixed_depth", "%filename%_%n%.%ext%", 6, 8, 0, false},
        {"watermark_tokens", "%n%.%ext%", 4, 0, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings.Advanced.FilenameMask = c.mask;
        Settings.Output.BmpBpp = c.depth;
        FillJobOutputFields();
        Settings.Frame.DoFrame = c.frame ? 1 : 0;
        Settings.Frame.SolidLeft = Settings.Frame.SolidTop = 3;
        Settings.Frame.SolidOpacity = 160;
        Settings.Watermark.DoWatermark = static_cast<Byte>(c.watermark);
        Settings.Watermark.Text = "%n% %width%x%height% %bpp% %filename%";
        Settings.Watermark.Font = "Arial";
        Settings.Watermark.FontSize = 6;
        if (c.watermark != 0) {
            ASSERT_EQ(PrepareWatermark(), WatermarkCheck::Ok);
        }
        InputList.clear();
        AddFiles(30, c.failEvery);

        const Outcome one = Run(1, std::string(c.name) + "-one");
        EXPECT_GT(one.converted, 0);
        // Repeated: an ordering fault shows only in some interleavings.
        for (int round = 0; round < 4; ++round) {
            const Outcome many = Run(4, std::string(c.name) + "-many" + std::to_string(round));
            EXPECT_EQ(many.converted, one.converted) << round;
            EXPECT_EQ(many.out, one.out) << round;
            EXPECT_EQ(many.err, one.err) << round;
            EXPECT_EQ(many.lastSource, one.lastSource) << round;
            EXPECT_EQ(many.sequence, one.sequence) << round;
            ASSERT_EQ(many.outputs.size(), one.outputs.size()) << round;
            for (const auto& [file, bytes] : one.outputs) {
                const auto it = many.outputs.find(file);
                ASSERT_NE(it, many.outputs.end()) << file;
                EXPECT_TRUE(it->second == bytes) << file << " differs in round " << round;
            }
        }
        ReleaseWatermarkFont();
    }
}

TEST_F(BatchRun, EachFilesLinesStayTogetherInTheListsOrder) {
    Settings.Advanced.FilenameMask = "%n%.%ext%";
    AddFiles(12, 3);
    const Outcome many = Run(4, "lines");
    std::string expected;
    std::string errors;
    std::string lastOutput = "OUT/";  // a file that does not load keeps the last name
    int n = 1;
    int i = 0;
    for (const auto& [path, entry] : InputList) {
        const bool fails = i++ % 3 == 2;
        char output[32];
        std::snprintf(output, sizeof output, "OUT/%05d.bmp", n);
        if (!fails) {
            lastOutput = output;
            ++n;
        }
        expected += "Processing: " + path + "\n";
        expected += "Saving As: " + (fails && n == 1 ? std::string() : lastOutput) + "\n";
        expected += fails ? "Not OK\n" : "OK\n";
        if (fails) {
            errors += path;
        }
    }
    EXPECT_EQ(many.out, expected);
    // One reason line per failed file, in the list's order.
    std::string named;
    for (std::size_t at = 0, end; (end = many.err.find('\n', at)) != std::string::npos;
         at = end + 1) {
        const std::string line = many.err.substr(at, end - at);
        for (const auto& [path, entry] : InputList) {
            if (line.find(path) != std::string::npos) {
                named += path;
            }
        }
    }
    EXPECT_EQ(named, errors);
}

// A file whose output would take a name the run has already written is not
// converted; its line names the output, the file that wrote it and what
// keeps both, and the output keeps the first file's picture.
TEST_F(BatchRun, ATakenNameSaysWhichFileWroteItAndHowToKeepBoth) {
    const std::string taken = " was already written in this run, from ";
    struct Case {
        const char* name;
        const char* second;  // the first photo is d1/x.jpg
        const char* firstSub;
        const char* secondSub;
        bool outputFolder;  // false: beside each input
        int keepSubfolders;
        const char* mask;
        std::vector<std::string> written;  // under the output folder, or the photos' root
        const char* hint;                  // "" when both are written
    };
    const Case cases[] = {
        {"sub-folders dropped",
         "d2/x.jpg",
         "d1/",
         "d2/",
         true,
         0,
         "%filename%.%ext%",
         {"x.bmp"},
         "; keeping sub-folders (without --no-subfolders) or a mask with %n% keeps both)"},
        {"sub-folders kept",
         "d2/x.jpg",
         "d1/",
         "d2/",
         true,
         1,
         "%filename%.%ext%",
         {"d1/x.bmp", "d2/x.bmp"},
         ""},
        {"two folders into one",
         "d2/x.jpg",
         "",
         "",
         true,
         1,
         "%filename%.%ext%",
         {"x.bmp"},
         "; without -o each output stays beside its input, or a mask with %n% keeps both)"},
        {"one folder, one name",
         "d1/y.jpg",
         "",
         "",
         false,
         1,
         "same.%ext%",
         {"d1/same.bmp"},
         "; a mask with %n% keeps both)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string root = test::MakeTempFolder("taken");
        for (const char* folder : {"d1", "d2", "out"}) {
            ASSERT_EQ(mkdir((root + folder).c_str(), 0755), 0);
        }
        const std::string first = root + "d1/x.jpg";
        const std::string second = root + c.second;
        ASSERT_TRUE(test::WriteJpeg(first, {.width = 30, .height = 20}));
        ASSERT_TRUE(test::WriteJpeg(second, {.width = 20, .height = 30}));
        InputList.clear();
        InputList[first] = {1, c.firstSub};
        InputList[second] = {1, c.secondSub};
        Settings.Advanced.KeepSubfolders = static_cast<Flag>(c.keepSubfolders);
        Settings.Advanced.FilenameMask = c.mask;
        Job.OutputFolder = c.outputFolder ? root + "out/" : "";
        Job.CommandLineJob = 1;
        const bool refused = c.hint[0] != '\0';
        std::string err;
        {
            Captured captured(stderr);
            EXPECT_EQ(RunConversionWorker(), refused ? 1 : 2);
            err = captured.Text();
        }
        const std::string base = c.outputFolder ? root + "out/" : root;
        const std::string output = base + c.written.front();
        EXPECT_EQ(err, refused ? "Not converted: " + second + " (The output " + output + taken +
                                     first + c.hint + "\n"
                               : "");
        for (const std::string& file : c.written) {
            EXPECT_TRUE(test::FileExists(base + file)) << file;
        }
        // The first file's picture: 30 pixels wide.
        EXPECT_EQ(test::ParseBmpHeader(test::ReadFile(output)).width, 30);
    }
}

class BatchPause : public BatchRun {
  protected:
    void AddMedium(int count) {
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "m%03d.jpg", i);
            const std::string path = folder_ + name;
            ASSERT_TRUE(test::WriteJpeg(path, {.width = 1200, .height = 900, .quality = 80}));
            InputList[path] = {};
        }
        Job.OutputFolder = folder_ + "out/";
        ASSERT_EQ(mkdir(Job.OutputFolder.c_str(), 0755), 0);
        Settings.Advanced.FilenameMask = "%filename%_%n%.%ext%";
        Job.SequenceNumber = 1;
    }
    std::vector<std::string> Outputs() const { return test::ListFolder(Job.OutputFolder); }

    // The names the first k files of the list get.
    std::vector<std::string> FirstOutputs(int k) const {
        std::vector<std::string> names;
        for (int i = 0; i < k; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "m%03d_%05d.bmp", i, i + 1);
            names.emplace_back(name);
        }
        return names;
    }
};

TEST_F(BatchPause, APausedRunHoldsEveryThreadAndMovesNothing) {
    AddMedium(10);
    SetWorkerThreads(4);
    ASSERT_TRUE(StartConversionWorker());
    ASSERT_TRUE(WaitUntil([] { return ReadConversionProgress().Index >= 2; }));
    PauseConversionWorker();
    ASSERT_TRUE(WaitUntil(ConversionWorkerHeld));
    const ProgressSnapshot held = ReadConversionProgress();
    const std::size_t written = Outputs().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Held as a whole: no thread finishes a file or starts another.
    EXPECT_TRUE(ConversionWorkerHeld());
    EXPECT_EQ(ReadConversionProgress().Index, held.Index);
    EXPECT_EQ(ReadConversionProgress().CurrentFile, held.CurrentFile);
    EXPECT_EQ(Outputs().size(), written);

    ResumeConversionWorker();
    EXPECT_EQ(FinishConversionWorker(), 10);
    EXPECT_EQ(Outputs(), FirstOutputs(10));
}

TEST_F(BatchPause, StopFinishesTheFilesStartedAndNoOther) {
    const struct {
        const char* name;
        int threads;
        int waitForIndex;
    } cases[] = {{"two_threads", 2, 1}, {"four_threads", 4, 3}, {"four_later", 4, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InputList.clear();
        folder_ = test::MakeTempFolder(std::string("batch-stop-") + c.name);
        AddMedium(12);
        SetWorkerThreads(c.threads);
        ASSERT_TRUE(StartConversionWorker());
        const int wait = c.waitForIndex;
        ASSERT_TRUE(WaitUntil([wait] { return ReadConversionProgress().Index >= wait; }));
        PauseConversionWorker();
        ASSERT_TRUE(WaitUntil(ConversionWorkerHeld));
        const ProgressSnapshot held = ReadConversionProgress();
        ASSERT_LT(held.Index, 12) << "the pause came too late";
        StopConversionWorker();
        // Every file whose number was reached is finished, in order, with
        // its number; nothing after it is started.
        EXPECT_EQ(FinishConversionWorker(), held.Index);
        EXPECT_EQ(ReadConversionProgress().Index, held.Index);
        EXPECT_EQ(Outputs(), FirstOutputs(held.Index));
    }
}

TEST_F(BatchPause, AStopWhileHeldBeforeTheFirstFileStartsNothing) {
    AddMedium(6);
    SetWorkerThreads(4);
    PauseConversionWorker();
    ASSERT_TRUE(StartConversionWorker());
    ASSERT_TRUE(WaitUntil(ConversionWorkerHeld));
    EXPECT_EQ(ReadConversionProgress().Index, 0);
    StopConversionWorker();
    EXPECT_EQ(FinishConversionWorker(), 0);
    EXPECT_TRUE(Outputs().empty());
}

TEST(WorkerThreads, OnePerHardwareThreadAndNeverMoreThanFiles) {
    const int hardware = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    SetWorkerThreads(0);
    EXPECT_EQ(WorkerThreadsFor(1), 1);
    EXPECT_EQ(WorkerThreadsFor(0), 1);
    EXPECT_EQ(WorkerThreadsFor(1000), hardware);
    SetWorkerThreads(4);
    EXPECT_EQ(WorkerThreadsFor(3), 3);
    EXPECT_EQ(WorkerThreadsFor(9), 4);
    SetWorkerThreads(0);
}

}  // namespace
}  // namespace tarvik
