// A run never loses a file: the real binary over folders of distinct photos.
// Each output must hold the picture of its own input (compared byte for
// byte with a conversion of that photo alone), every input must stay as it
// was, and each refused file must be named on standard error with its
// reason - the same on one thread, on every core and on more threads than
// files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/fixtures.h"

namespace tarvik {
namespace {

using test::Lines;
using test::MakeTempFolder;
using test::ReadFile;
using test::RunResult;
using test::RunTarvik;

// Picture k: one flat colour and a size of its own, so that its BMP tells
// which photo it came from.
test::JpegSpec Picture(int k) {
    const auto u = static_cast<unsigned>(k);
    return {.width = 40 + u,
            .height = 30 + u,
            .pattern = test::Pattern::Flat,
            .rgb = 0x102030u * u ^ 0xA05000u};
}

using Files = std::vector<std::pair<std::string, int>>;  // path -> picture

struct Case {
    const char* name;
    Files photos;                           // the inputs, by picture
    std::vector<std::string> args;          // run in the case's folder
    int exit;                               // expected exit status
    Files outputs;                          // every file the run leaves besides its inputs
    std::vector<std::string> errors;        // stderr lines; {} stands for the case's folder
    std::string last;                       // the last line on stdout
    std::vector<std::string> folders = {};  // made before the run
    std::map<std::string, std::string> earlier = {};  // files an earlier run left
    std::map<std::string, std::string> links = {};    // linked folder -> its target
};

std::string Fill(std::string line, const std::string& dir) {
    for (std::size_t at; (at = line.find("{}")) != std::string::npos;) {
        line.replace(at, 2, dir);
    }
    return line;
}

// Regular files under the folder, by their path relative to it; linked
// folders are not followed, so a file is listed once.
std::map<std::string, std::string> FilesUnder(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (!entry.is_symlink() && entry.is_regular_file()) {
            const std::string path = entry.path().string();
            files[path.substr(dir.size())] = ReadFile(path);
        }
    }
    return files;
}

const std::string kTaken = " was already written in this run, from ";
const std::string kMaskKeeps = "; a mask with %n% keeps both)";
const std::string kBesideKeeps =
    "; without -o each output stays beside its input, or a mask with %n% keeps both)";

std::string TakenLine(const std::string& file, const std::string& output, const std::string& from,
                      const std::string& keep) {
    return "Not converted: {}" + file + " (The output {}" + output + kTaken + "{}" + from + keep;
}

std::string ReplacesLine(const std::string& file, const std::string& input) {
    return "Not converted: {}" + file + " (The output would replace {}" + input +
           ", an input of this run)";
}

std::string OwnInputLine(const std::string& file) {
    return "Not converted: {}" + file + " (The output would replace the input)";
}

std::vector<Case> Cases() {
    std::vector<std::string> nineInto1;
    Files nine;
    Files nineNumbered;
    for (int k = 1; k <= 9; ++k) {
        const std::string name = "g" + std::to_string(k) + ".jpg";
        nine.emplace_back(name, k);
        nineNumbered.emplace_back("same_0000" + std::to_string(k) + ".bmp", k);
        if (k > 1) {
            nineInto1.push_back(TakenLine(name, "same.bmp", "g1.jpg", kMaskKeeps));
        }
    }
    const Files twoFolders = {{"d1/x.jpg", 1}, {"d2/x.jpg", 2}};
    const Files three = {{"g01.jpg", 1}, {"g02.jpg", 2}, {"g03.jpg", 3}};
    return {
        {"two folders without -o",
         twoFolders,
         {"-i", "d1/x.jpg", "d2/x.jpg"},
         0,
         {{"d1/x.bmp", 1}, {"d2/x.bmp", 2}},
         {},
         "Files converted: 2 of 2"},
        {"a pattern over two folders without -o",
         twoFolders,
         {"-i", "d*/x.jpg"},
         0,
         {{"d1/x.bmp", 1}, {"d2/x.bmp", 2}},
         {},
         "Files converted: 2 of 2"},
        {"same names into one -o",
         twoFolders,
         {"-i", "d*/*.jpg", "-o", "out"},
         2,
         {{"out/x.bmp", 1}},
         {TakenLine("d2/x.jpg", "out/x.bmp", "d1/x.jpg", kBesideKeeps)},
         "Files converted: 1 of 2",
         {"out"}},
        {"nine into one by the mask",
         nine,
         {"-i", "g*.jpg", "--filename-mask=same.%ext%"},
         2,
         {{"same.bmp", 1}},
         nineInto1,
         "Files converted: 1 of 9"},
        {"a mask with %n% keeps all nine",
         nine,
         {"-i", "g*.jpg", "--filename-mask=same_%n%.%ext%"},
         0,
         nineNumbered,
         {},
         "Files converted: 9 of 9"},
        {"the output named like a later input",
         three,
         {"-i", "g*.jpg", "--filename-mask=g03.jpg"},
         2,
         {},
         {ReplacesLine("g01.jpg", "g03.jpg"), ReplacesLine("g02.jpg", "g03.jpg"),
          OwnInputLine("g03.jpg")},
         "Conversion stopped"},
        {"the output named like an earlier input",
         three,
         {"-i", "g*.jpg", "--filename-mask=g01.jpg"},
         2,
         {},
         {OwnInputLine("g01.jpg"), ReplacesLine("g02.jpg", "g01.jpg"),
          ReplacesLine("g03.jpg", "g01.jpg")},
         "Conversion stopped"},
        {"a later input kept while the others convert",
         {{"a.jpg", 1}, {"xa.jpg", 2}},
         {"-i", "a.jpg", "xa.jpg", "--filename-mask=x%filename%.jpg"},
         2,
         {{"xxa.jpg", 2}},
         {ReplacesLine("a.jpg", "xa.jpg")},
         "Files converted: 1 of 2"},
        {"an earlier input, already converted, kept",
         {{"a00002.jpg", 1}, {"b.jpg", 2}},
         {"-i", "a00002.jpg", "b.jpg", "--filename-mask=a%n%.jpg"},
         2,
         {{"a00001.jpg", 1}},
         {ReplacesLine("b.jpg", "a00002.jpg")},
         "Files converted: 1 of 2"},
        {"an input named by another spelling of its folder",
         {{"in/a.jpg", 1}, {"in/b.jpg", 2}},
         {"-i", "in/*.jpg", "-o", "./in/../in", "--filename-mask=b.jpg"},
         2,
         {},
         {ReplacesLine("in/a.jpg", "in/b.jpg"), OwnInputLine("in/b.jpg")},
         "Conversion stopped"},
        {"the same input given twice",
         {{"a.jpg", 1}},
         {"-i", "a.jpg", "./a.jpg", "-i", "a*.jpg", "-o", "out"},
         0,
         {{"out/a.bmp", 1}},
         {},
         "Files converted: 1 of 1",
         {"out"}},
        {"the same input through a linked folder",
         {{"real/p.jpg", 1}},
         {"-i", "real/p.jpg", "link/p.jpg", "real/../real/p.jpg"},
         0,
         {{"real/p.bmp", 1}},
         {},
         "Files converted: 1 of 1",
         {},
         {},
         {{"link", "real"}}},
        {"a file of an earlier run is replaced",
         {{"x.jpg", 1}},
         {"-i", "x.jpg", "-o", "out"},
         0,
         {{"out/x.bmp", 1}},
         {},
         "Files converted: 1 of 1",
         {"out"},
         {{"out/x.bmp", "left by an earlier run"}}},
    };
}

class OutputNames : public ::testing::Test {
  protected:
    void SetUp() override {
        // One conversion of each picture on its own is what an output of
        // that picture must be.
        const std::string dir = MakeTempFolder("reference");
        ASSERT_FALSE(dir.empty());
        for (int k = 1; k <= 9; ++k) {
            ASSERT_TRUE(test::WriteJpeg(dir + "p" + std::to_string(k) + ".jpg", Picture(k)));
        }
        const RunResult r = RunTarvik({"-q", "-i", "p*.jpg"}, dir);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        for (int k = 1; k <= 9; ++k) {
            reference_[k] = ReadFile(dir + "p" + std::to_string(k) + ".bmp");
            ASSERT_EQ(reference_[k].substr(0, 2), "BM");
        }
    }

    void TearDown() override { unsetenv("TARVIK_THREADS"); }

    // The case's folder with its photos, folders and earlier files.
    std::string Prepare(const Case& c, const std::string& threads) {
        const std::string dir = MakeTempFolder("names");
        for (const std::string& folder : c.folders) {
            std::filesystem::create_directories(dir + folder);
        }
        for (const auto& [path, k] : c.photos) {
            std::filesystem::create_directories(std::filesystem::path(dir + path).parent_path());
            EXPECT_TRUE(test::WriteJpeg(dir + path, Picture(k))) << path;
        }
        for (const auto& [link, target] : c.links) {
            std::filesystem::create_directory_symlink(dir + target, dir + link);
        }
        for (const auto& [path, bytes] : c.earlier) {
            EXPECT_TRUE(test::WriteFile(dir + path, bytes));
        }
        if (threads.empty()) {
            unsetenv("TARVIK_THREADS");
        } else {
            setenv("TARVIK_THREADS", threads.c_str(), 1);
        }
        return dir;
    }

    void Check(const Case& c, const std::string& dir, const RunResult& r,
               const std::map<std::string, std::string>& before) {
        EXPECT_EQ(r.exitCode, c.exit) << r.err;
        std::vector<std::string> errors;
        for (const std::string& line : c.errors) {
            errors.push_back(Fill(line, dir));
        }
        EXPECT_EQ(Lines(r.err), errors);
        ASSERT_FALSE(Lines(r.out).empty());
        EXPECT_EQ(Lines(r.out).back(), c.last);

        std::map<std::string, std::string> after = FilesUnder(dir);
        for (const auto& [path, k] : c.photos) {
            EXPECT_TRUE(after[path] == before.at(path)) << "input changed: " << path;
            after.erase(path);
        }
        for (const auto& [path, k] : c.outputs) {
            const auto found = after.find(path);
            ASSERT_NE(found, after.end()) << "missing output " << path;
            EXPECT_TRUE(found->second == reference_.at(k))
                << path << " does not hold picture " << k;
            after.erase(found);
        }
        for (const auto& [path, bytes] : after) {
            ADD_FAILURE() << "unexpected file " << path;
        }
    }

    std::map<int, std::string> reference_;
};

TEST_F(OutputNames, EveryPhotoKeptAndEveryOutputHoldsItsOwnPicture) {
    // One thread, one per core (the default), and more threads than cores.
    for (const std::string threads : {"1", "", "4"}) {
        for (const Case& c : Cases()) {
            SCOPED_TRACE(std::string(c.name) + ", threads " +
                         (threads.empty() ? "per core" : threads));
            const std::string dir = Prepare(c, threads);
            const std::map<std::string, std::string> before = FilesUnder(dir);
            const RunResult r = RunTarvik(c.args, dir);
            Check(c, dir, r, before);
        }
    }
}

}  // namespace
}  // namespace tarvik
