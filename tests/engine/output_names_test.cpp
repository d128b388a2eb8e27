// The names a run's outputs may not take: its inputs and what it has
// written, under every spelling that reaches the same file.
#include "engine/output_names.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/files.h"

namespace tarvik {
namespace {

class OutputNamesCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = test::MakeTempFolder("output-names");
        ASSERT_FALSE(dir_.empty());
        for (const char* name : {"a.jpg", "b.jpg", "out/a.bmp"}) {
            mkdir((dir_ + "out").c_str(), 0777);
            ASSERT_TRUE(test::WriteFile(dir_ + name, name));
        }
        ASSERT_EQ(mkdir((dir_ + "sub").c_str(), 0777), 0);
        ASSERT_EQ(symlink(dir_.c_str(), (dir_ + "link").c_str()), 0);
        ASSERT_EQ(link((dir_ + "b.jpg").c_str(), (dir_ + "twin.jpg").c_str()), 0);
        ASSERT_EQ(link((dir_ + "out/a.bmp").c_str(), (dir_ + "out/twin.bmp").c_str()), 0);
        NoteRunInput(names_, dir_ + "a.jpg", "");
        NoteRunInput(names_, dir_ + "b.jpg", "x/");
        NoteWrittenOutput(names_, dir_ + "out/a.bmp", dir_ + "a.jpg", "");
    }

    std::string dir_;
    RunNames names_;
};

TEST_F(OutputNamesCheck, EverySpellingOfATakenNameIsRefused) {
    struct Case {
        const char* output;  // under the folder
        const char* source;
        ConvertFailure failure;
        const char* holder;  // "" when free
    };
    const Case cases[] = {
        {"c.bmp", "a.jpg", ConvertFailure::None, ""},
        {"new/../c.bmp", "a.jpg", ConvertFailure::None, ""},
        {"a.bmp", "a.jpg", ConvertFailure::None, ""},
        {"a.jpg", "a.jpg", ConvertFailure::SameAsInput, "a.jpg"},
        {"./a.jpg", "a.jpg", ConvertFailure::SameAsInput, "a.jpg"},
        {"b.jpg", "a.jpg", ConvertFailure::NamesAnInput, "b.jpg"},
        {"./b.jpg", "a.jpg", ConvertFailure::NamesAnInput, "b.jpg"},
        {"sub/../b.jpg", "a.jpg", ConvertFailure::NamesAnInput, "b.jpg"},
        {"link/b.jpg", "a.jpg", ConvertFailure::NamesAnInput, "b.jpg"},
        // Another name of the same file: writing it would not touch b.jpg,
        // but the run never writes over a file one of its inputs is.
        {"twin.jpg", "a.jpg", ConvertFailure::NamesAnInput, "b.jpg"},
        {"a.jpg", "b.jpg", ConvertFailure::NamesAnInput, "a.jpg"},
        {"out/a.bmp", "b.jpg", ConvertFailure::NameTaken, "a.jpg"},
        {"out/../out/a.bmp", "b.jpg", ConvertFailure::NameTaken, "a.jpg"},
        {"link/out/a.bmp", "b.jpg", ConvertFailure::NameTaken, "a.jpg"},
        {"out/twin.bmp", "b.jpg", ConvertFailure::NameTaken, "a.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.output) + " from " + c.source);
        const NameClash clash = CheckOutputName(names_, dir_ + c.output, dir_ + c.source);
        EXPECT_EQ(clash.Failure, c.failure);
        EXPECT_EQ(clash.Other.SourceFile, *c.holder == '\0' ? "" : dir_ + c.holder);
    }
}

TEST_F(OutputNamesCheck, TheHolderKeepsItsSubFolder) {
    const NameClash clash = CheckOutputName(names_, dir_ + "b.jpg", dir_ + "a.jpg");
    EXPECT_EQ(clash.Other.RelativeFolder, "x/");
}

}  // namespace
}  // namespace tarvik
