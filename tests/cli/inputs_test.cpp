#include "cli/inputs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/catalog.h"
#include "core/formats.h"
#include "core/job.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using test::MakeTempFolder;
using test::WriteFile;

TEST(InputPaths, ExtensionAndFolder) {
    struct Case {
        const char* path;
        const char* extension;
        const char* folder;
    };
    const Case cases[] = {
        {"a.jpg", "jpg", ""},
        {"/pics/Holiday.JPG", "JPG", "/pics/"},
        {"/pics.d/photo", "", "/pics.d/"},
        {"dir/.hidden", "", "dir/"},
        {"a.tar gz", "", ""},
        {"a.", "", ""},
        {"pics/*.jpg", "jpg", "pics/"},
        {"a.b\\c", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathExtension(c.path), c.extension) << c.path;
        EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    }
}

// Runs in a folder of its own as the current directory.
class InputWords : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateFormatLists();
        BuildCatalog();
        ResetJob();
        ExtraInputWords.clear();
        dir_ = MakeTempFolder("inputs");
        ASSERT_FALSE(dir_.empty());
        for (const char* name : {"a.jpg", "b.jpg", "c.png", "list.txt", "[ab].jpg", "sub/d.jpg"}) {
            mkdir((dir_ + "sub").c_str(), 0777);
            ASSERT_TRUE(WriteFile(dir_ + name, "bytes"));
        }
        ASSERT_TRUE(WriteFile(dir_ + "empty.jpg", ""));
        ASSERT_EQ(mkdir((dir_ + "folder.jpg").c_str(), 0777), 0);
        char buf[4096];
        ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
        cwd_ = buf;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(cwd_.c_str()), 0);
        ExtraInputWords.clear();
        Job.InputPath.clear();
        InputList.clear();
    }

    std::string dir_;
    std::string cwd_;
};

// Each word gives files, or the run stops at it with the line that names
// it and why.
TEST_F(InputWords, WordsAndPatternsBecomeExistingFilesOrNameTheirCause) {
    const std::string jpeg = ".jpg, .jpeg, .jpe, .jif";
    struct Case {
        const char* name;
        std::string input;
        std::vector<std::string> extra;
        std::string detail;
        std::vector<std::string> files;  // relative to the folder
    };
    const Case cases[] = {
        {"bare name against the current folder", "a.jpg", {}, "", {"a.jpg"}},
        {"dot slash", "./a.jpg", {}, "", {"a.jpg"}},
        {"absolute", dir_ + "b.jpg", {}, "", {"b.jpg"}},
        {"pattern skips empty files and folders", "*.jpg", {}, "", {"[ab].jpg", "a.jpg", "b.jpg"}},
        {"bracket name that exists is a file", "[ab].jpg", {}, "", {"[ab].jpg"}},
        {"several words",
         "a.jpg",
         {"sub/d.jpg", "c.png", "b.jpg"},
         "",
         {"a.jpg", "sub/d.jpg", "c.png", "b.jpg"}},
        {"a pattern among the words", "c.png", {"sub/*.jpg"}, "", {"c.png", "sub/d.jpg"}},
        {"missing file", "missing.jpg", {}, "  missing.jpg: No such file or directory", {}},
        {"empty file", "empty.jpg", {}, "  empty.jpg: is an empty file", {}},
        {"folder with an extension",
         "folder.jpg",
         {},
         "  folder.jpg: is a folder; give a pattern such as 'folder.jpg/*.jpg'",
         {}},
        {"folder", "sub", {}, "  sub: is a folder; give a pattern such as 'sub/*.jpg'", {}},
        {"folder with its separator",
         "sub/",
         {},
         "  sub/: is a folder; give a pattern such as 'sub/*.jpg'",
         {}},
        {"missing name without extension", "sub/d", {}, "  sub/d: No such file or directory", {}},
        {"through a file", "a.jpg/x.jpg", {}, "  a.jpg/x.jpg: Not a directory", {}},
        {"pattern matching nothing", "*.gif", {}, "  '*.gif': matches no file", {}},
        {"pattern in another letter case", "sub/*.JPG", {}, "  'sub/*.JPG': matches no file", {}},
        {"pattern matching only an empty file and a folder",
         "[ef]*.jpg",
         {},
         "  '[ef]*.jpg': matches only empty files or folders",
         {}},
        {"pattern without extension",
         "sub/*",
         {},
         "  'sub/*': has no extension; JPEG files end in " + jpeg,
         {}},
        {"a later word matching nothing",
         "a.jpg",
         {"nothing*.jpg"},
         "  'nothing*.jpg': matches no file",
         {}},
        {"the first failing word is named",
         "a.jpg",
         {"gone.jpg", "sub"},
         "  gone.jpg: No such file or directory",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Job.InputPath = c.input;
        ExtraInputWords = c.extra;
        std::vector<std::string> files;
        ASSERT_EQ(ResolveInputs(files), c.detail);
        if (!c.detail.empty()) {
            continue;
        }
        std::vector<std::string> want;
        for (const std::string& f : c.files) {
            want.push_back(dir_ + f);
        }
        EXPECT_EQ(files, want);
    }
}

TEST_F(InputWords, AFileWithoutExtensionIsNamedWithTheExtensionsTaken) {
    ASSERT_TRUE(WriteFile(dir_ + "photo", "bytes"));
    Job.InputPath = "photo";
    std::vector<std::string> files;
    EXPECT_EQ(ResolveInputs(files),
              "  photo: has no extension; JPEG files end in .jpg, .jpeg, .jpe, .jif");
}

// A file is listed once under whatever spelling of its path; a link to a
// file is a name of its own, and so is a hard link.
TEST_F(InputWords, OnlyAcceptedExtensionsAreAddedOnce) {
    ASSERT_EQ(symlink(dir_.c_str(), (dir_ + "again").c_str()), 0);
    ASSERT_EQ(symlink((dir_ + "a.jpg").c_str(), (dir_ + "alias.jpg").c_str()), 0);
    ASSERT_EQ(link((dir_ + "b.jpg").c_str(), (dir_ + "twin.jpg").c_str()), 0);
    const std::vector<std::string> files = {
        dir_ + "a.jpg",   dir_ + "c.png",     dir_ + "list.txt",     dir_ + "x.LST",
        dir_ + "a.jpg",   dir_ + "B.JPEG",    dir_ + "sub/../a.jpg", dir_ + "again/a.jpg",
        dir_ + "./a.jpg", dir_ + "alias.jpg", dir_ + "twin.jpg",     dir_ + "b.jpg"};
    EXPECT_EQ(AddInputs(files), 5);
    ASSERT_EQ(InputList.size(), 5u);
    for (const char* name : {"a.jpg", "B.JPEG", "alias.jpg", "twin.jpg", "b.jpg"}) {
        EXPECT_EQ(InputList.count(dir_ + name), 1u) << name;
    }
    EXPECT_EQ(InputList[dir_ + "a.jpg"].RelativeFolder, "");
    // A later call does not add what the list holds.
    EXPECT_EQ(AddInputs({dir_ + "again/B.JPEG"}), 0);
}

}  // namespace
}  // namespace tarvik
