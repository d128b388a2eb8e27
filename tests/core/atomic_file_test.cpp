// Files that appear whole or not at all: written through the descriptor
// that created them, unnamed while they are written where the file system
// allows it, saved under any name the file system accepts.
#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/files.h"

namespace tarvik {
namespace {

using Kind = TempFile::Kind;

bool WriteText(TempFile& file, const std::string& text) {
    return file.Ok() && WriteAll(file.Descriptor(), text.data(), text.size());
}

struct KindCase {
    const char* name;
    Kind kind;
};
constexpr KindCase kKinds[] = {{"unnamed where possible", Kind::kAny}, {"named", Kind::kNamed}};

TEST(TempFile, CreatesAndReplacesWholeFilesAndLeavesNothingElse) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.name);
        const std::string folder = test::MakeTempFolder("atomic");
        const std::string path = folder + "out.bmp";
        for (const std::string text : {"first", "second, longer"}) {
            TempFile file(path, k.kind);
            ASSERT_TRUE(WriteText(file, text));
            ASSERT_TRUE(file.Commit(TempFile::Flush::kNone));
            EXPECT_EQ(test::ReadFile(path), text);
            EXPECT_EQ(test::ListFolder(folder), std::vector<std::string>{"out.bmp"});
        }
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        const mode_t mask = umask(0);
        umask(mask);
        EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
    }
}

TEST(TempFile, AnUnnamedFileHasNoNameUntilItIsComplete) {
    const std::string folder = test::MakeTempFolder("atomic-unnamed");
    TempFile file(folder + "out.bmp");
    ASSERT_TRUE(file.Unnamed()) << "the test folder's file system refuses O_TMPFILE";
    ASSERT_TRUE(WriteText(file, "data"));
    // A process killed now leaves nothing behind.
    EXPECT_TRUE(test::ListFolder(folder).empty());
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(test::ListFolder(folder), std::vector<std::string>{"out.bmp"});
}

TEST(TempFile, AFailedCommitKeepsTheOldFile) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.name);
        const std::string folder = test::MakeTempFolder("atomic-fail");
        const std::string path = folder + "out.bmp";
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);  // a folder cannot be replaced by a file
        ASSERT_TRUE(test::WriteFile(path + "/inside", "kept"));
        TempFile file(path, k.kind);
        ASSERT_TRUE(WriteText(file, "new"));
        EXPECT_FALSE(file.Commit());
        EXPECT_EQ(test::ReadFile(path + "/inside"), "kept");
        EXPECT_EQ(test::ListFolder(folder), std::vector<std::string>{"out.bmp"});
    }
}

TEST(TempFile, AHiddenNameSwappedForASymlinkRedirectsNothing) {
    // Someone with write access to the folder replaces the hidden file by a
    // link to a file elsewhere before the data are written.
    const std::string victimFolder = test::MakeTempFolder("atomic-victim");
    const std::string victim = victimFolder + "precious";
    ASSERT_TRUE(test::WriteFile(victim, "precious"));
    const std::string folder = test::MakeTempFolder("atomic-swap");
    const std::string path = folder + "out.bmp";
    ASSERT_TRUE(test::WriteFile(path, "old output"));

    TempFile file(path, Kind::kNamed);
    ASSERT_TRUE(file.Ok());
    const std::string hidden = folder + file.Name();
    ASSERT_EQ(unlink(hidden.c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), hidden.c_str()), 0);
    ASSERT_TRUE(WriteText(file, "new output"));
    EXPECT_FALSE(file.Commit()) << "the swapped name must not become the output";

    EXPECT_EQ(test::ReadFile(victim), "precious");
    EXPECT_EQ(test::ReadFile(path), "old output");
}

TEST(TempFile, NamesAsLongAsTheFileSystemAllowsSave) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.name);
        const std::string folder = test::MakeTempFolder("atomic-long");
        for (const std::size_t length : {244u, 250u, static_cast<unsigned>(NAME_MAX)}) {
            const std::string name = std::string(length - 4, 'n') + ".bmp";
            TempFile file(folder + name, k.kind);
            ASSERT_TRUE(WriteText(file, "x")) << length;
            EXPECT_TRUE(file.Commit(TempFile::Flush::kNone)) << length;
            EXPECT_EQ(test::ReadFile(folder + name), "x") << length;
        }
    }
}

TEST(TempFile, PathsNearPathMaxSave) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.name);
        std::string folder = test::MakeTempFolder("atomic-deep");
        const std::string part(50, 'd');
        // Deep enough that the full path ends a few bytes under PATH_MAX.
        while (folder.size() + part.size() + 1 + 255 < PATH_MAX - 1) {
            folder += part + "/";
            ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        }
        const std::size_t room = PATH_MAX - 1 - folder.size();
        const std::string path =
            folder + std::string(std::min<std::size_t>(room, 255) - 4, 'p') + ".bmp";
        ASSERT_GE(path.size(), static_cast<std::size_t>(PATH_MAX - 60));
        TempFile file(path, k.kind);
        ASSERT_TRUE(WriteText(file, "deep"));
        EXPECT_TRUE(file.Commit(TempFile::Flush::kNone));
        EXPECT_EQ(test::ReadFile(path), "deep");
    }
}

TEST(TempFile, PendingNamedFilesAreRemovedForTheSignalHandler) {
    const std::string folder = test::MakeTempFolder("atomic-signal");
    TempFile file(folder + "out.bmp", Kind::kNamed);
    ASSERT_TRUE(WriteText(file, "partial"));
    ASSERT_EQ(test::ListFolder(folder).size(), 1u);
    RemovePendingTempFiles();
    EXPECT_TRUE(test::ListFolder(folder).empty());
}

}  // namespace
}  // namespace tarvik
