// Paths in the one form the run compares them in, and file identities.
#include "core/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/files.h"

namespace tarvik {
namespace {

TEST(NormalPaths, OneFormForEverySpellingOfAFolder) {
    const std::string dir = test::MakeTempFolder("normal-paths");
    ASSERT_EQ(mkdir((dir + "real").c_str(), 0777), 0);
    ASSERT_EQ(symlink((dir + "real").c_str(), (dir + "via").c_str()), 0);
    ASSERT_TRUE(test::WriteFile(dir + "real/p.jpg", "p"));
    ASSERT_EQ(symlink((dir + "real/p.jpg").c_str(), (dir + "real/alias.jpg").c_str()), 0);
    const std::string p = NormalPath(dir + "real/p.jpg");
    for (const char* spelling : {"real/p.jpg", "./real/p.jpg", "real/./p.jpg", "via/p.jpg",
                                 "real/../via/p.jpg", "via/../real/p.jpg"}) {
        EXPECT_EQ(NormalPath(dir + spelling), p) << spelling;
    }
    // A link to a file is a name of its own; a missing part is normal too.
    EXPECT_NE(NormalPath(dir + "real/alias.jpg"), p);
    EXPECT_EQ(NormalPath(dir + "via/new/../x.bmp"), NormalPath(dir + "real/x.bmp"));
    // Relative to the current folder.
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    EXPECT_EQ(NormalPath("via/p.jpg"), p);
    EXPECT_EQ(NormalPath("./real/p.jpg"), p);
    ASSERT_EQ(chdir(cwd), 0);
}

TEST(FileIds, TwoNamesOfOneFileAreOneFile) {
    const std::string dir = test::MakeTempFolder("file-ids");
    ASSERT_TRUE(test::WriteFile(dir + "a", "a"));
    ASSERT_TRUE(test::WriteFile(dir + "b", "a"));
    ASSERT_EQ(link((dir + "a").c_str(), (dir + "c").c_str()), 0);
    EXPECT_EQ(FileIdOf(dir + "a"), FileIdOf(dir + "c"));
    EXPECT_NE(FileIdOf(dir + "a"), FileIdOf(dir + "b"));
    EXPECT_FALSE(FileIdOf(dir + "missing"));
    EXPECT_FALSE(FileIdOf(""));
}

}  // namespace
}  // namespace tarvik
