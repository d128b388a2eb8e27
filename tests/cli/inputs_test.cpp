#include "cli/inputs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

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
    }

    std::string dir_;
    std::string cwd_;
};

TEST_F(InputWords, WordsAndPatternsBecomeExistingFiles) {
    struct Case {
        const char* name;
        std::string input;
        std::vector<std::string> extra;
        bool ok;
        std::vector<std::string> files;  // relative to the folder
    };
    const Case cases[] = {
        {"bare name against the current folder", "a.jpg", {}, true, {"a.jpg"}},
        {"dot slash", "./a.jpg", {}, true, {"a.jpg"}},
        {"absolute", dir_ + "b.jpg", {}, true, {"b.jpg"}},
        {"pattern skips empty files and folders",
         "*.jpg",
         {},
         true,
         {"[ab].jpg", "a.jpg", "b.jpg"}},
        {"bracket name that exists is a file", "[ab].jpg", {}, true, {"[ab].jpg"}},
        {"several words",
         "a.jpg",
         {"sub/d.jpg", "c.png", "b.jpg"},
         true,
         {"a.jpg", "sub/d.jpg", "c.png", "b.jpg"}},
        {"a pattern among the words", "c.png", {"sub/*.jpg"}, true, {"c.png", "sub/d.jpg"}},
        {"missing file", "missing.jpg", {}, false, {}},
        {"empty file", "empty.jpg", {}, false, {}},
        {"folder", "folder.jpg", {}, false, {}},
        {"no extension", "sub", {}, false, {}},
        {"pattern matching nothing", "*.gif", {}, false, {}},
        {"a later word matching nothing", "a.jpg", {"nothing*.jpg"}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Job.InputPath = c.input;
        ExtraInputWords = c.extra;
        std::vector<std::string> files;
        ASSERT_EQ(ResolveInputs(files), c.ok);
        if (!c.ok) {
            continue;
        }
        std::vector<std::string> want;
        for (const std::string& f : c.files) {
            want.push_back(dir_ + f);
        }
        EXPECT_EQ(files, want);
    }
}

TEST_F(InputWords, OnlyAcceptedExtensionsAreAddedOnce) {
    const std::vector<std::string> files = {dir_ + "a.jpg", dir_ + "c.png", dir_ + "list.txt",
                                            dir_ + "x.LST", dir_ + "a.jpg", dir_ + "B.JPEG"};
    EXPECT_EQ(AddInputs(files), 2);
    ASSERT_EQ(InputList.size(), 2u);
    EXPECT_EQ(InputList.count(dir_ + "a.jpg"), 1u);
    EXPECT_EQ(InputList.count(dir_ + "B.JPEG"), 1u);
    EXPECT_EQ(InputList[dir_ + "a.jpg"].RelativeFolder, "");
}

}  // namespace
}  // namespace tarvik
