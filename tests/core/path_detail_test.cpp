// The detail line under an error about a file or a folder: the path as
// given and the cause, from the catalog.
#include "core/path_detail.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "core/catalog.h"
#include "core/formats.h"
#include "core/job.h"
#include "support/files.h"

namespace tarvik {
namespace {

class PathDetail : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateFormatLists();
        ResetJob();
        BuildCatalog();
        dir_ = test::MakeTempFolder("path-detail");
        ASSERT_FALSE(dir_.empty());
        ASSERT_TRUE(test::WriteFile(dir_ + "photo.jpg", "bytes"));
        ASSERT_TRUE(test::WriteFile(dir_ + "empty.jpg", ""));
        ASSERT_EQ(mkdir((dir_ + "pics").c_str(), 0777), 0);
        ASSERT_EQ(mkfifo((dir_ + "pipe.jpg").c_str(), 0666), 0);
    }
    std::string dir_;
};

TEST_F(PathDetail, EachKindOfPathHasItsCause) {
    const std::string missing = "No such file or directory";
    struct Case {
        const char* path;
        std::string file;      // FileCause
        std::string folder;    // FolderCause
        std::string readable;  // ReadableFileCause
    };
    const Case cases[] = {
        {"photo.jpg", "", "is not a folder", ""},
        {"empty.jpg", "is an empty file", "is not a folder", ""},
        {"pics", "is a folder", "", "is a folder"},
        {"pics/", "is a folder", "", "is a folder"},
        {"pipe.jpg", "is not a regular file", "is not a folder", "is not a regular file"},
        {"gone.jpg", missing, missing, missing},
        {"gone/a.jpg", missing, missing, missing},
        {"photo.jpg/a.jpg", "Not a directory", "Not a directory", "Not a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileCause(dir_ + c.path), c.file);
        EXPECT_EQ(FolderCause(dir_ + c.path), c.folder);
        EXPECT_EQ(ReadableFileCause(dir_ + c.path), c.readable);
    }
}

TEST_F(PathDetail, TheLineNamesThePathAsGiven) {
    EXPECT_EQ(PathDetailLine("nosuch.jpg", FileCause(dir_ + "nosuch.jpg")),
              "  nosuch.jpg: No such file or directory");
    EXPECT_EQ(PathDetailLine(QuotedPattern("pics/*.JPEG"), "matches no file"),
              "  'pics/*.JPEG': matches no file");
    EXPECT_EQ(PathDetailLine("%s2%.jpg", "is an empty file"), "  %s2%.jpg: is an empty file");
    EXPECT_EQ(AcceptedExtensionsText(), ".jpg, .jpeg, .jpe, .jif");
}

}  // namespace
}  // namespace tarvik
