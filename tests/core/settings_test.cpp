#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <variant>

#include "core/clock.h"
#include "core/display.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/settings.h"
#include "core/settings_table.h"

namespace tarvik {
namespace {

class SettingsDefaults : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateFormatLists();
        SetPrimaryDisplaySize({});
    }
};

TEST_F(SettingsDefaults, WindowAndCommandLineDifferOnlyInKeepAspectRatio) {
    ResetSettings(false);
    const SettingsRecord window = Settings;
    ResetSettings(true);
    EXPECT_EQ(window.Transform.KeepAspectRatio, 1);
    EXPECT_EQ(Settings.Transform.KeepAspectRatio, 0);
    for (const SettingRow& row : SettingRows()) {
        if (row.key == "Keep Aspect Ratio" || row.def == kDefaultNow) {
            continue;
        }
        EXPECT_EQ(FieldText(row, window), FieldText(row, Settings)) << row.group << " " << row.key;
    }
}

TEST_F(SettingsDefaults, TableValues) {
    ResetSettings(false);
    const SettingsRecord& s = Settings;
    EXPECT_EQ(s.General.Cfg, 18);
    EXPECT_EQ(s.General.Language, "en");
    EXPECT_EQ(s.General.UpdateRange, 2);
    EXPECT_EQ(s.Window.Width, 510);
    EXPECT_EQ(s.Window.Height, 260);
    EXPECT_EQ(s.Interface.UiTheme, "handdrawn");
    EXPECT_EQ(s.Input.Format, "jpg");
    EXPECT_EQ(s.Input.RawToneMapping, 2);
    EXPECT_EQ(s.Output.Format, "bmp");
    EXPECT_EQ(s.Output.JpgQuality, 95);
    EXPECT_EQ(s.Output.WebpQuality, 100);
    EXPECT_EQ(s.Transform.ImageRotationBackColor, "000000");
    EXPECT_EQ(s.Transform.ImageResizeAlgorithm, 3);
    EXPECT_FLOAT_EQ(s.Adjustment.ImageGamma, 1.0f);
    EXPECT_EQ(s.Frame.SolidOpacity, 255);
    EXPECT_EQ(s.Watermark.Fonts, "Arial,Tahoma,Verdana");
    EXPECT_EQ(s.Watermark.Font, "Arial");
    EXPECT_EQ(s.Watermark.FontSize, 14);
    EXPECT_EQ(s.Watermark.FontColor, "FFFFFF");
    EXPECT_EQ(s.Watermark.FontColors,
              "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF");
    EXPECT_EQ(s.Watermark.BackColors, s.Watermark.FontColors);
    EXPECT_EQ(s.Watermark.BackOpacity, 1);  // almost transparent box by default
    EXPECT_EQ(s.Watermark.TextPosition, 8);
    EXPECT_EQ(s.Watermark.TextXOffset, 10);
    EXPECT_EQ(s.Watermark.ImageScale, 10);
    EXPECT_FALSE(s.Watermark.Text.empty());
    EXPECT_EQ(s.Advanced.FilenameMask, "%filename%.%ext%");
    EXPECT_EQ(s.Advanced.OutFoldersNumber, 5);
    EXPECT_EQ(s.Advanced.KeepSubfolders, 1);
    EXPECT_EQ(s.File.RecentOutFolders, "");
}

TEST_F(SettingsDefaults, DatesAreNowOnTheLocalClock) {
    const std::int64_t before = LocalNow();
    ResetSettings(true);
    const std::int64_t after = LocalNow();
    for (const std::int64_t value : {std::int64_t{Settings.General.UpdateDate},
                                     std::int64_t{Settings.Advanced.CustomTimestamp}}) {
        EXPECT_GE(value, before);
        EXPECT_LE(value, after);
    }
}

TEST_F(SettingsDefaults, WindowIsCentredOnALargerDisplay) {
    struct Case {
        DisplaySize display;
        int x;
        int y;
    };
    const Case cases[] = {
        {{1920, 1080}, (1920 - 510) / 2, (1080 - 260) / 2},
        {{0, 0}, 100, 100},      // no display
        {{510, 260}, 100, 100},  // not larger than the window
        {{1000, 200}, 245, 100},
    };
    for (const Case& c : cases) {
        SetPrimaryDisplaySize(c.display);
        ResetSettings(false);
        EXPECT_EQ(Settings.Window.X, c.x) << c.display.Width;
        EXPECT_EQ(Settings.Window.Y, c.y) << c.display.Height;
    }
    SetPrimaryDisplaySize({});
}

TEST(SettingsTable, EachFieldAndOptionIsBoundOnce) {
    SettingsRecord probe;
    std::set<void*> fields;
    std::set<std::string> options;
    std::set<std::string> keys;
    for (const SettingRow& row : SettingRows()) {
        void* address = std::visit([&](auto get) -> void* { return &get(probe); }, row.field);
        EXPECT_TRUE(fields.insert(address).second) << row.key;
        EXPECT_TRUE(keys.insert(std::string(row.group) + "/" + std::string(row.key)).second);
        if (!row.option.empty()) {
            EXPECT_TRUE(options.insert(std::string(row.option)).second) << row.option;
            EXPECT_NE(row.reader, Reader::None) << row.option;
        }
    }
}

TEST(SettingsTable, RangesBoundTheirFieldsInTheFieldsOwnPrecision) {
    const struct {
        const char* group;
        const char* key;
        double value;
        bool inRange;
    } cases[] = {
        {"Adjustment", "Image Brightness", -100, true},
        {"Adjustment", "Image Brightness", -101, false},
        {"Adjustment", "Image Contrast", 100, true},
        {"Adjustment", "Image Contrast", 101, false},
        // Compared as single-precision values: 9.99 typed as text is in.
        {"Adjustment", "Image Gamma", static_cast<double>(9.99f), true},
        {"Adjustment", "Image Gamma", 0.01, true},
        {"Adjustment", "Image Gamma", 0.0, false},
        {"Adjustment", "Image Gamma", 10.0, false},
        {"Adjustment", "Image Gamma", std::nan(""), false},
        {"Adjustment", "Image Threshold", 255, true},
        {"Adjustment", "Image Threshold", 256, false},
        {"Advanced", "Out Folders Number", 50, true},
        {"Advanced", "Out Folders Number", 0, false},
        {"Watermark", "Text Opacity", 0, false},
        {"Watermark", "Image Rotation", 360, true},
        {"Output", "JPG Quality", 101, false},
        // Unbounded fields take any value.
        {"Watermark", "Text X Offset", -5000, true},
    };
    for (const auto& c : cases) {
        const SettingRow* row = FindSetting(c.group, c.key);
        ASSERT_NE(row, nullptr) << c.key;
        SettingsRecord s;
        SetFieldNumber(row->field, s, c.value);
        EXPECT_EQ(InRange(*row, s), c.inRange) << c.key << " " << c.value;
    }
}

// The preferences edit a copy and compare it with the stored record.
TEST(SettingsRecord, GroupsCopyAndCompareOnTheirOwn) {
    ResetSettings(false);
    SettingsRecord copy = Settings;
    EXPECT_EQ(copy, Settings);
    copy.Watermark.TextXOffset += 1;
    EXPECT_NE(copy.Watermark, Settings.Watermark);
    EXPECT_EQ(copy.Frame, Settings.Frame);
    EXPECT_NE(copy, Settings);
    Settings.Watermark = copy.Watermark;
    EXPECT_EQ(copy, Settings);
}

TEST(JobReset, FreshJobKeepsRunModeAndDrawsARandomNumber) {
    Job.RunMode = "DEBUG";
    Job.OutputFolder = "/x/";
    Job.OutputBpp = 24;
    Job.SequenceNumber = 7;
    InputList["/a.jpg"] = {};
    CreateFormatLists();
    ResetJob();
    EXPECT_EQ(Job.RunMode, "DEBUG");
    EXPECT_EQ(Job.OutputFolder, "");
    EXPECT_EQ(Job.OutputBpp, 0);
    EXPECT_EQ(Job.SequenceNumber, 1);
    EXPECT_GE(Job.RandomNumber, 1);
    EXPECT_LE(Job.RandomNumber, 99999);
    EXPECT_TRUE(InputList.empty());
    EXPECT_TRUE(Job.ProgramFolder.ends_with("/"));
    EXPECT_EQ(AcceptedInputExtensions, (std::vector<std::string>{"jpg", "jpeg", "jpe", "jif"}));
    Job.RunMode.clear();
}

}  // namespace
}  // namespace tarvik
