#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/program_files.h"
#include "support/files.h"

namespace tarvik {
namespace {

// Real folders, since an installed bin/ is told from a build folder that
// happens to be called bin/ by the private folder beside it.
class ProgramFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = test::MakeTempFolder("program-files");
        ASSERT_FALSE(root_.empty());
        for (const char* folder : {"build/bin", "usr/bin", "usr/lib/tarvik", "opt/q/bin"}) {
            std::filesystem::create_directories(root_ + folder);
        }
    }

    std::string root_;
};

TEST_F(ProgramFiles, PartsBesideInABuildTreeAndUnderThePrefixOnceInstalled) {
    struct Case {
        const char* programFolder;
        const char* prefix;  // "" for a build tree
    };
    const Case cases[] = {
        {"build/", ""},     {"build/bin/", ""},  // a build folder named bin/, no lib/tarvik/ beside
        {"opt/q/bin/", ""}, {"usr/bin/", "usr/"}, {"usr/lib/tarvik/", "usr/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.programFolder);
        const std::string folder = root_ + c.programFolder;
        const bool installed = *c.prefix != '\0';
        const std::string prefix = installed ? root_ + c.prefix : "";
        EXPECT_EQ(InstalledPrefixOf(folder), prefix);
        const std::string privateFolder = installed ? prefix + "lib/tarvik/" : folder;
        EXPECT_EQ(DrawingModulePathOf(folder), privateFolder + "libtarvik-draw.so");
        EXPECT_EQ(FrontEndPathOf(folder), privateFolder + "tarvik-gui");
        EXPECT_EQ(ThemesFolderOf(folder),
                  installed ? prefix + "share/tarvik/gfx/" : folder + "gfx/");
        EXPECT_EQ(ManualPathOf(folder), installed ? prefix + "share/doc/tarvik/manual/index.html"
                                                  : folder + "manual/index.html");
    }
}

TEST_F(ProgramFiles, OnlyAWholeFolderNameCounts) {
    std::filesystem::create_directories(root_ + "x/mylib/tarvik");
    std::filesystem::create_directories(root_ + "x/lib/tarvik");
    std::filesystem::create_directories(root_ + "x/sbin");
    EXPECT_EQ(InstalledPrefixOf(root_ + "x/mylib/tarvik/"), "");
    EXPECT_EQ(InstalledPrefixOf(root_ + "x/sbin/"), "");
    EXPECT_EQ(InstalledPrefixOf("/"), "");
    EXPECT_EQ(InstalledPrefixOf(""), "");
}

}  // namespace
}  // namespace tarvik
