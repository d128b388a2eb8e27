#include "cli/profile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cli/options.h"
#include "core/formats.h"
#include "core/settings.h"
#include "core/settings_table.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using test::MakeTempFolder;
using test::WriteFile;

class Profile : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateFormatLists();
        ResetSettings(true);
        dir_ = MakeTempFolder("profile");
        ASSERT_FALSE(dir_.empty());
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir_ + name;
        EXPECT_TRUE(WriteFile(path, bytes));
        return path;
    }

    std::string dir_;
};

std::vector<std::string> Snapshot(const SettingsRecord& s) {
    std::vector<std::string> out;
    for (const SettingRow& row : SettingRows()) {
        out.push_back(std::string(row.key) + "=" + FieldText(row, s));
    }
    return out;
}

// Alternates the letter case: --jpg-quality -> --JpG-QuAlItY.
std::string MixedCase(const std::string& word) {
    std::string out = word;
    bool upper = false;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            if (upper) {
                c = static_cast<char>(c - 32);
            }
            upper = !upper;
        }
    }
    return out;
}

TEST_F(Profile, KeysInAnyCaseSetTheSameFieldsAsTheOptions) {
    const std::vector<std::pair<std::string, std::string>> options = {
        {"--jpg-quality", "77"},
        {"--resize-algorithm", "lanczos"},
        {"--gamma", "2.5"},
        {"--wm-text", "Hi there"},
        {"--invert", "0"},
        {"--no-subfolders", ""},
        {"--width", "$32"},
        {"--width-unit", "percent"},
        {"--fr-solid-left", "3"},
        {"--fr-solid-left-color", "FF8000"},
        {"--wm-image", "logo.png"},
        {"--file-timestamp", "original"},
        {"--bmp-bpp", "8"},
        {"--filename-mask", "%n%_%filename%.%ext%"},
        {"--wm-text-antialiasing", "x"},
        {"--tiff-compression", "zip"},
    };
    std::string text = "\xEF\xBB\xBF\r\n[Cli]\r\n";
    for (const auto& [word, value] : options) {
        EXPECT_EQ(ApplyConversionOption(word, value.empty() ? "1" : value), OptionStatus::Applied);
        text += MixedCase(word) + " = " + value + "\r\n";
    }
    const std::vector<std::string> fromOptions = Snapshot(Settings);

    ResetSettings(true);
    ASSERT_TRUE(LoadProfile(Write("mixed.ini", text)));
    EXPECT_EQ(Snapshot(Settings), fromOptions);
}

TEST_F(Profile, ValueRulesOfProfileKeys) {
    using Check = std::function<void(const SettingsRecord&)>;
    struct Case {
        const char* name;
        std::string lines;  // of the [CLI] group
        Check check;
    };
    const Case cases[] = {
        {"frame opacity has its own key", "--fr-solid-opacity = 5\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Frame.SolidOpacity, 255); }},
        {"--wm-solid-opacity sets the frame opacity", "--wm-solid-opacity = 7\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Frame.SolidOpacity, 7); }},
        {"empty text still switches the watermark on", "--wm-text =\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Watermark.Text, "");
             EXPECT_EQ(s.Watermark.DoWatermark, 1);
         }},
        {"empty integer stores 0 and switches", "--width =\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Transform.ImageWidth, 0);
             EXPECT_EQ(s.Transform.DoImageResize, 1);
         }},
        {"values beginning with dashes are read, not refused", "--brightness = --20\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Adjustment.ImageBrightness, 0);
             EXPECT_EQ(s.Adjustment.DoImageColorCorrection, 1);
         }},
        {"text trimmed", "--wm-font =  \t Liberation Sans \t \n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Watermark.Font, "Liberation Sans"); }},
        {"mask loses its quotes, keeps its blanks", "--filename-mask = \"\" %filename% .%ext%\"\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Advanced.FilenameMask, " %filename% .%ext%"); }},
        {"keyword trimmed", "--resize-algorithm =  lanczos  \n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Transform.ImageResizeAlgorithm, 5); }},
        {"flags ignore their value", "--invert = 0\n--greyscale = no\n--no-subfolders = 1\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Adjustment.ImageInvert, 1);
             EXPECT_EQ(s.Adjustment.DoImageGreyscale, 1);
             EXPECT_EQ(s.Advanced.KeepSubfolders, 0);
         }},
        {"a later key wins", "--jpg-quality = 10\n--JPG-QUALITY = 20\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Output.JpgQuality, 20); }},
        {"side effects in file order", "--wm-image = a.png\n--wm-text = b\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Watermark.DoWatermark, 1); }},
        {"core options and unknown keys are no keys",
         "-i = a.jpg\n--profile = x.ini\n-q = 1\n--quality = 3\njpg-quality = 4\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Output.JpgQuality, 95); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSettings(true);
        ASSERT_TRUE(LoadProfile(Write("rules.ini", "[CLI]\n" + c.lines)));
        c.check(Settings);
    }
}

TEST_F(Profile, OnlyTheCliGroupIsRead) {
    const std::string path = Write("groups.ini",
                                   "--width = 9\n[Output]\n--jpg-quality = 10\n[cli]\n"
                                   "--height = 5\n[Other]\n--contrast = 3\n[CLI]\n--greyscale\n"
                                   "--threshold=1\n");
    ASSERT_TRUE(LoadProfile(path));
    EXPECT_EQ(Settings.Output.JpgQuality, 95);
    EXPECT_EQ(Settings.Transform.ImageWidth, 0);
    EXPECT_EQ(Settings.Transform.ImageHeight, 5);
    EXPECT_EQ(Settings.Adjustment.ImageContrast, 0);
    EXPECT_EQ(Settings.Adjustment.DoImageGreyscale, 0);  // a line without "=" is no key
    EXPECT_EQ(Settings.Adjustment.ImageThreshold, 1);
}

TEST_F(Profile, IsoLatinTextBecomesUtf8) {
    ASSERT_TRUE(LoadProfile(Write("latin.ini", "[CLI]\r--wm-text = Caf\xE9\r")));
    EXPECT_EQ(Settings.Watermark.Text, "Caf\xC3\xA9");
}

TEST_F(Profile, WithoutACliGroupNothingChanges) {
    const std::vector<std::string> before = Snapshot(Settings);
    EXPECT_TRUE(LoadProfile(Write("none.ini", "[General]\nLanguage = de\n")));
    EXPECT_TRUE(LoadProfile(Write("empty.ini", "")));
    EXPECT_TRUE(LoadProfile(Write("bare.ini", "[CLI]\n; nothing\n")));
    EXPECT_EQ(Snapshot(Settings), before);
}

TEST_F(Profile, UnreadableProfilesAreRefused) {
    for (const std::string& path : {std::string(), dir_ + "missing.ini", dir_}) {
        EXPECT_FALSE(LoadProfile(path)) << path;
    }
}

}  // namespace
}  // namespace tarvik
