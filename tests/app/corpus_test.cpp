// The real binary over a folder of real-world JPEGs (named by the
// environment variable TARVIK_CORPUS): every file is either converted or
// reported not converted, never a crash, a hang or a stray file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/fixtures.h"

namespace tarvik::test {
namespace {

namespace fs = std::filesystem;

// Several inputs per run keep the start-up cost down; a batch stays in one
// source folder, where file names are unique, so outputs cannot collide.
constexpr std::size_t kBatchSize = 40;
constexpr int kBatchTimeoutSeconds = 300;

std::string CorpusFolder() {
    const char* folder = std::getenv("TARVIK_CORPUS");
    return folder != nullptr && fs::is_directory(folder) ? fs::absolute(folder).string()
                                                         : std::string();
}

bool IsJpegName(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".jpg" || ext == ".jpeg";
}

struct CorpusFiles {
    std::vector<std::vector<std::string>> batches;
    std::vector<std::string> empty;  // 0 bytes: refused by the input check
};

// The JPEG files under root, in batches that each stay in one folder.
CorpusFiles FindFiles(const std::string& root) {
    CorpusFiles found;
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file() || !IsJpegName(e.path())) {
            continue;
        }
        if (e.file_size() == 0) {
            found.empty.push_back(e.path().string());
        } else {
            byFolder[e.path().parent_path().string()].push_back(e.path().string());
        }
    }
    for (auto& [folder, files] : byFolder) {
        std::sort(files.begin(), files.end());
        for (std::size_t i = 0; i < files.size(); i += kBatchSize) {
            const std::size_t end = std::min(files.size(), i + kBatchSize);
            found.batches.emplace_back(files.begin() + static_cast<long>(i),
                                       files.begin() + static_cast<long>(end));
        }
    }
    return found;
}

std::string FileName(const std::string& path) {
    return fs::path(path).filename().string();
}
std::string Stem(const std::string& path) {
    return fs::path(path).stem().string();
}

// Each input's result from the debug lines: "Processing: <path>" and,
// after it, "OK" or "Not OK". Keyed by file name.
std::map<std::string, bool> Results(const std::string& out) {
    std::map<std::string, bool> results;
    std::string current;
    for (std::string line : Lines(out)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("Processing: ", 0) == 0) {
            current = FileName(line.substr(12));
        } else if (!current.empty() && (line == "OK" || line == "Not OK")) {
            results[current] = line == "OK";
            current.clear();
        }
    }
    return results;
}

struct BatchRun {
    RunResult run;
    std::string outFolder;
};

BatchRun Convert(const std::vector<std::string>& files) {
    BatchRun b;
    b.outFolder = MakeTempFolder("corpus");
    std::vector<std::string> args = {"-q", "-d", "-i"};
    args.insert(args.end(), files.begin(), files.end());
    args.insert(args.end(), {"-o", b.outFolder});
    b.run = RunTarvik(args, {}, kBatchTimeoutSeconds);
    return b;
}

// Names the inputs that crash or hang the binary on their own.
std::string Culprits(const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& f : files) {
        const RunResult r = Convert({f}).run;
        if (r.signal != 0 || r.timedOut) {
            names +=
                " " + f + (r.timedOut ? " (hang)" : " (signal " + std::to_string(r.signal) + ")");
        }
    }
    return names;
}

// Every input has a result, the exit status agrees with the results, each
// converted input left one valid BMP and nothing else is in the folder.
void CheckBatch(const std::vector<std::string>& files, const BatchRun& b) {
    const std::map<std::string, bool> results = Results(b.run.out);
    std::vector<std::string> expected;
    bool all = true;
    for (const std::string& f : files) {
        const auto it = results.find(FileName(f));
        ASSERT_NE(it, results.end()) << f << ": no result line\n" << b.run.out;
        const std::string bmp = Stem(f) + ".bmp";
        if (it->second) {
            expected.push_back(bmp);
            EXPECT_TRUE(ParseBmpHeader(ReadFile(b.outFolder + bmp)).valid) << f;
        }
        all = all && it->second;
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ListFolder(b.outFolder), expected) << "only the converted files' BMPs may be left";
    EXPECT_EQ(b.run.exitCode, all ? 0 : 2) << b.run.err;
}

class CorpusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = CorpusFolder();
        if (root_.empty()) {
            GTEST_SKIP() << "TARVIK_CORPUS does not name a folder";
        }
    }

    std::string root_;
};

TEST_F(CorpusTest, EveryFileIsConvertedOrReportedWithoutCrashOrHang) {
    const CorpusFiles found = FindFiles(root_);
    ASSERT_FALSE(found.batches.empty()) << "no *.jpg or *.jpeg under " << root_;
    for (const auto& files : found.batches) {
        SCOPED_TRACE(fs::path(files.front()).parent_path().string());
        const BatchRun b = Convert(files);
        if (b.run.signal != 0 || b.run.timedOut) {
            ADD_FAILURE() << "the binary crashed or hung on:" << Culprits(files);
            continue;
        }
        CheckBatch(files, b);
    }
    // An empty input fails the run's input check before anything converts.
    for (const std::string& f : found.empty) {
        const BatchRun b = Convert({f});
        EXPECT_EQ(b.run.exitCode, 1) << f << "\n" << b.run.out << b.run.err;
        EXPECT_TRUE(ListFolder(b.outFolder).empty()) << f;
    }
}

TEST_F(CorpusTest, EveryExifOrientationComesOutUpright) {
    const std::string folder = root_ + "/exif-orientation-examples";
    if (!fs::is_directory(folder)) {
        GTEST_SKIP() << "no exif-orientation-examples in the corpus";
    }
    const std::regex name("(Landscape|Portrait)_[0-8]\\.jpg");
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(folder)) {
        if (std::regex_match(e.path().filename().string(), name)) {
            files.push_back(e.path().string());
        }
    }
    ASSERT_EQ(files.size(), 18u);
    const BatchRun b = Convert(files);
    ASSERT_EQ(b.run.exitCode, 0) << b.run.out << b.run.err;
    for (const std::string& f : files) {
        const BmpHeader h = ParseBmpHeader(ReadFile(b.outFolder + Stem(f) + ".bmp"));
        const bool landscape = FileName(f).rfind("Landscape", 0) == 0;
        EXPECT_EQ(h.width, landscape ? 1800 : 1200) << f;
        EXPECT_EQ(std::abs(h.height), landscape ? 1200 : 1800) << f;
    }
}

}  // namespace
}  // namespace tarvik::test
