#include "core/config_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/display.h"
#include "core/formats.h"
#include "core/settings_table.h"
#include "core/text.h"
#include "support/files.h"

namespace tarvik {
namespace {

using test::FileExists;
using test::ListFolder;
using test::MakeTempFolder;
using test::ReadFile;
using test::WriteFile;

// Each test gets its own configuration home.
class ConfigFile : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = MakeTempFolder("config");
        ASSERT_FALSE(home_.empty());
        setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
        CreateFormatLists();
        SetPrimaryDisplaySize({1920, 1080});
        Settings = SettingsRecord{};
        Settings.ConfigFilePath = ConfigFilePath();
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        SetPrimaryDisplaySize({});
    }

    std::string Folder() const { return home_ + "Quorvane/tarvik/"; }

    // Loads the text as the file's bytes.
    void LoadText(const std::string& bytes) {
        ASSERT_TRUE(WriteFile(Settings.ConfigFilePath, bytes));
        LoadSettings();
    }

    std::string home_;
};

bool Listed(const SettingRow& row) {
    if (row.format.empty()) {
        return true;
    }
    const auto& list = row.group == "Input" ? InputFormats : OutputFormats;
    for (const std::string& f : list) {
        if (EqualsNoCase(f, row.format)) {
            return true;
        }
    }
    return false;
}

// A stored text per row that differs from its default and survives the
// file: signed numbers, six-decimal gamma, texts with inner blanks and,
// where kept, trailing blanks and tabs.
std::string NonDefault(const SettingRow& row, int index) {
    if (IsTextField(row.field)) {
        const std::string text = "v " + std::to_string(index) + " \xC3\xA9";
        return (row.traits & kKeepBlanks) != 0 ? text + "\t " : text;
    }
    if (IsFloatField(row.field)) {
        return "2.750000";
    }
    if (std::holds_alternative<FlagRef>(row.field)) {
        return row.def == "1" ? "0" : "1";
    }
    if (std::holds_alternative<ByteRef>(row.field)) {
        return std::to_string(-1 - index % 100);
    }
    return std::to_string(-100000 - index);
}

TEST_F(ConfigFile, FolderFollowsTheXdgBaseAndIsCreated) {
    EXPECT_EQ(Settings.ConfigFilePath, Folder() + "config.ini");
    struct stat st {};
    ASSERT_EQ(stat(Folder().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));

    // Without XDG_CONFIG_HOME (or with a relative one) the base is ~/.config.
    const std::string home = MakeTempFolder("config-home");
    const char* savedHome = std::getenv("HOME");
    const std::string oldHome = savedHome != nullptr ? savedHome : "";
    setenv("HOME", home.c_str(), 1);
    for (const char* xdg : {static_cast<const char*>(nullptr), "relative/dir"}) {
        if (xdg == nullptr) {
            unsetenv("XDG_CONFIG_HOME");
        } else {
            setenv("XDG_CONFIG_HOME", xdg, 1);
        }
        EXPECT_EQ(ConfigFilePath(), home + ".config/Quorvane/tarvik/config.ini");
    }
    EXPECT_EQ(stat((home + ".config/Quorvane/tarvik").c_str(), &st), 0);
    setenv("HOME", oldHome.c_str(), 1);
}

TEST_F(ConfigFile, EveryRowSurvivesASaveAndALoad) {
    ResetSettings(false);
    SettingsRecord written = Settings;
    SettingsRecord expected = Settings;
    int index = 0;
    for (const SettingRow& row : SettingRows()) {
        ++index;
        if (row.key == "Save Window Position") {
            continue;  // 1 keeps the window keys in the file
        }
        const std::string value = NonDefault(row, index);
        SetFieldText(row.field, written, value);
        if ((row.traits & kWriteDefault) != 0) {
            SetFieldText(row.field, expected, DefaultText(row, false));
        } else if (!Listed(row)) {
            // Not written; read back with the file's default.
            SetFieldText(row.field, expected, DefaultText(row, false));
        } else {
            SetFieldText(row.field, expected, value);
        }
    }
    Settings = written;
    ASSERT_TRUE(SaveSettings());
    ResetSettings(true);
    LoadSettings();
    for (const SettingRow& row : SettingRows()) {
        EXPECT_EQ(FieldText(row, Settings), FieldText(row, expected))
            << row.group << " " << row.key;
    }
    EXPECT_EQ(Settings.ConfigFilePath, Folder() + "config.ini");
}

// The default record as written, line by line (CR LF added).
const char* const kDefaultFileLines[] = {
    "\xEF\xBB\xBF",
    "[General]",
    "CFG = 18",
    "Language = en",
    "Update Range = 2",
    "Update Date = 1767225600",
    "Save Window Position = 1",
    "; ",
    "[Window]",
    "IsMaximized = 0",
    "Width = 510",
    "Height = 260",
    "X = 705",
    "Y = 410",
    "; ",
    "[Interface]",
    "UI Theme = handdrawn",
    "UI Size = 2",
    "; ",
    "[Input]",
    "Format = jpg",
    "; ",
    "[Output]",
    "Format = bmp",
    "BMP BPP = 0",
    "BMP Compression = 0",
    "BMP Color Table = 0",
    "; ",
    "[Transform]",
    "Do Image Rotation = 0",
    "Image Rotation Type = 0",
    "Image Rotation = 0",
    "Image Rotation Back Color = 000000",
    "Do Image Resize = 0",
    "Image Width = 0",
    "Image Width Unit = 0",
    "Image Height = 0",
    "Image Height Unit = 0",
    "Keep Aspect Ratio = 1",
    "Image Resize Type = 0",
    "Image Resize Algorithm = 3",
    "Do Image Flip Horizontal = 0",
    "Do Image Flip Vertical = 0",
    "; ",
    "[Adjustment]",
    "Do Image Color Correction = 0",
    "Image Brightness = 0",
    "Image Contrast = 0",
    "Image Gamma = 1.000000",
    "Image Invert = 0",
    "Do Image Greyscale = 0",
    "Do Image Threshold = 0",
    "Image Threshold = 0",
    "; ",
    "[Frame]",
    "Do Frame = 0",
    "Solid Left = 0",
    "Solid Right = 0",
    "Solid Top = 0",
    "Solid Bottom = 0",
    "Solid Left Color = 000000",
    "Solid Right Color = 000000",
    "Solid Top Color = 000000",
    "Solid Bottom Color = 000000",
    "Solid Opacity = 255",
    "; ",
    "[Watermark]",
    "Do Watermark = 0",
    "Text = Converted by Quorvane JPG to BMP",
    "Fonts = Arial,Tahoma,Verdana",
    "Font = Arial",
    "Font Size = 14",
    "Font Leading = 0",
    "Font Colors = 000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF",
    "Font Color = FFFFFF",
    "Font Style = 0",
    "Font Effect = 0",
    "Text Antialiasing = 0",
    "Text Alignment = 0",
    "Text Padding = 0",
    "Text Opacity = 255",
    "Back Colors = 000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF",
    "Back Color = 000000",
    "Back Opacity = 1",
    "Text Boundary = 0",
    "Text Position = 8",
    "Text X Offset = 10",
    "Text Y Offset = 10",
    "Text Rotation = 0",
    "Text Size = 0",
    "Text Scale = 10",
    "Image = ",
    "Image Greyscale = 0",
    "Image Opacity = 255",
    "Image Boundary = 0",
    "Image Position = 8",
    "Image X Offset = 10",
    "Image Y Offset = 10",
    "Image Rotation = 0",
    "Image Size = 0",
    "Image Scale = 10",
    "; ",
    "[Advanced]",
    "Filename Mask = %filename%.%ext%",
    "File Timestamp = 0",
    "Custom Timestamp = 1767225600",
    "Out Folders History = 1",
    "Out Folders Number = 5",
    "Keep Subfolders = 1",
    "; ",
    "[File]",
    "Recent Out Folders = ",
    "Recent Files = ",
    "; ",
    "[Privacy]",
    "Clean Recent Files = 0",
    "; ",
};

TEST_F(ConfigFile, TheDefaultRecordIsWrittenByteForByte) {
    ResetSettings(false);
    Settings.General.UpdateDate = 1767225600;
    Settings.Advanced.CustomTimestamp = 1767225600;
    ASSERT_EQ(Settings.Window.X, 705);  // centred on 1920 x 1080
    ASSERT_EQ(Settings.Window.Y, 410);
    ASSERT_TRUE(SaveSettings());
    std::string golden;
    for (const char* line : kDefaultFileLines) {
        golden += std::string(line) + "\r\n";
    }
    EXPECT_EQ(ReadFile(Settings.ConfigFilePath), golden);
}

TEST_F(ConfigFile, WindowKeysOnlyWhenThePositionIsSaved) {
    ResetSettings(false);
    Settings.General.SaveWindowPosition = 0;
    Settings.Window = {.IsMaximized = 1, .X = 7, .Y = 8, .Width = 900, .Height = 700};
    ASSERT_TRUE(SaveSettings());
    const std::string text = ReadFile(Settings.ConfigFilePath);
    EXPECT_NE(text.find("Save Window Position = 0\r\n; \r\n[Window]\r\n; \r\n[Interface]\r\n"),
              std::string::npos);
    LoadSettings();
    EXPECT_EQ(Settings.Window.IsMaximized, 0);
    EXPECT_EQ(Settings.Window.X, 100);
    EXPECT_EQ(Settings.Window.Y, 100);
    EXPECT_EQ(Settings.Window.Width, 510);
    EXPECT_EQ(Settings.Window.Height, 260);
}

TEST_F(ConfigFile, ReadersUpgradesAndDefaultsOfAWrittenFile) {
    using Check = std::function<void(const SettingsRecord&)>;
    struct Case {
        const char* name;
        std::string file;
        Check check;
    };
    const Case cases[] = {
        {"CFG 10 gives the mask its extension",
         "[General]\r\nCFG = 10\r\n[Advanced]\r\nFilename Mask = %filename%\r\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Advanced.FilenameMask, "%filename%.%ext%");
             EXPECT_EQ(s.General.Cfg, 10);  // the record keeps the version read
         }},
        {"CFG 10 keeps a mask that has the extension token",
         "[General]\r\nCFG = 10\r\n[Advanced]\r\nFilename Mask = %FILENAME%_%EXT%\r\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Advanced.FilenameMask, "%FILENAME%_%EXT%"); }},
        {"CFG 18 keeps the mask",
         "[General]\r\nCFG = 18\r\n[Advanced]\r\nFilename Mask = %filename%\r\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Advanced.FilenameMask, "%filename%"); }},
        {"CFG 13 shifts RAW Load As", "[General]\r\nCFG = 13\r\n[Input]\r\nRAW Load As = 1\r\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Input.RawLoadAs, 3); }},
        {"CFG 13 leaves RAW Load As 0", "[General]\r\nCFG = 13\r\n[Input]\r\nRAW Load As = 0\r\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Input.RawLoadAs, 0); }},
        {"CFG 14 leaves RAW Load As", "[General]\r\nCFG = 14\r\n[Input]\r\nRAW Load As = 1\r\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Input.RawLoadAs, 1); }},
        {"no CFG counts as 0: both upgrades",
         "[Input]\r\nRAW Load As = 2\r\n[Advanced]\r\nFilename Mask = x\r\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.General.Cfg, 0);
             EXPECT_EQ(s.Input.RawLoadAs, 4);
             EXPECT_EQ(s.Advanced.FilenameMask, "x.%ext%");
         }},
        {"names in any letter case",
         "[general]\r\ncfg = 18\r\nlanguage = de\r\n[TRANSFORM]\r\nimage WIDTH = 640\r\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.General.Language, "de");
             EXPECT_EQ(s.Transform.ImageWidth, 640);
         }},
        {"a present key without digits reads 0, a missing one its default",
         "[Transform]\r\nImage Width =\r\n[Output]\r\nJPG Quality =\r\n[Watermark]\r\n"
         "Text Opacity = x\r\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Transform.ImageWidth, 0);
             EXPECT_EQ(s.Output.JpgQuality, 0);  // read although jpg is no output format
             EXPECT_EQ(s.Watermark.TextOpacity, 0);
             EXPECT_EQ(s.Output.WebpQuality, 100);
             EXPECT_EQ(s.Transform.KeepAspectRatio, 1);  // window default
             EXPECT_EQ(s.General.Language, "en");
         }},
        {"decimal integers only, up to the first other character",
         "[Transform]\r\nImage Width = +12px\r\nImage Height = $10\r\nImage Rotation = -90\r\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Transform.ImageWidth, 12);
             EXPECT_EQ(s.Transform.ImageHeight, 0);
             EXPECT_EQ(s.Transform.ImageRotation, -90);
         }},
        {"one-byte fields keep their low bits",
         "[Watermark]\r\nText Position = 200\r\nDo Watermark = -1\r\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Watermark.TextPosition, -56);
             EXPECT_EQ(s.Watermark.DoWatermark, -1);
         }},
        {"gamma +Infinity", "[Adjustment]\r\nImage Gamma = +Infinity\r\n",
         [](const SettingsRecord& s) {
             EXPECT_TRUE(std::isinf(s.Adjustment.ImageGamma) && s.Adjustment.ImageGamma > 0);
         }},
        {"gamma NaN", "[Adjustment]\r\nImage Gamma = NaN\r\n",
         [](const SettingsRecord& s) { EXPECT_TRUE(std::isnan(s.Adjustment.ImageGamma)); }},
        {"gamma decimal", "[Adjustment]\r\nImage Gamma = 0.45\r\n",
         [](const SettingsRecord& s) { EXPECT_FLOAT_EQ(s.Adjustment.ImageGamma, 0.45f); }},
        {"texts trimmed except the kept ones",
         "[Watermark]\r\nText = hello  \r\n[Interface]\r\nUI Theme = dark  \r\n[File]\r\n"
         "Recent Out Folders = /a/\t/b/\t\r\n",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.Watermark.Text, "hello");
             EXPECT_EQ(s.Interface.UiTheme, "dark  ");
             EXPECT_EQ(s.File.RecentOutFolders, "/a/\t/b/\t");
         }},
        {"iso-8859-1 without a mark", "[Watermark]\r\nText = Caf\xE9\r\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Watermark.Text, "Caf\xC3\xA9"); }},
        {"utf-8 after the mark", "\xEF\xBB\xBF\r\n[Watermark]\r\nText = Caf\xC3\xA9\r\n",
         [](const SettingsRecord& s) { EXPECT_EQ(s.Watermark.Text, "Caf\xC3\xA9"); }},
        {"lines ended by CR only", "[General]\rLanguage = fr\rUpdate Range = 4\r",
         [](const SettingsRecord& s) {
             EXPECT_EQ(s.General.Language, "fr");
             EXPECT_EQ(s.General.UpdateRange, 4);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSettings(true);
        LoadText(c.file);
        c.check(Settings);
    }
}

TEST_F(ConfigFile, WithoutAFileTheWindowDefaultsAreUsed) {
    ResetSettings(true);
    Settings.Transform.ImageWidth = 77;
    LoadSettings();
    EXPECT_EQ(Settings.Transform.KeepAspectRatio, 1);
    EXPECT_EQ(Settings.Transform.ImageWidth, 0);
    EXPECT_EQ(Settings.General.Cfg, 18);
    EXPECT_EQ(Settings.Window.X, 705);  // centred, not the file's 100
    EXPECT_EQ(Settings.ConfigFilePath, Folder() + "config.ini");
}

// A save that cannot be completed leaves the previous file as it was and
// no temporary file beside it.
TEST_F(ConfigFile, AFailedSaveLeavesTheOldFileUntouched) {
    const std::string old = "\xEF\xBB\xBF\r\n[General]\r\nLanguage = old\r\n";
    ASSERT_TRUE(WriteFile(Settings.ConfigFilePath, old));
    ResetSettings(false);

    // The file-size limit cuts the write short, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = SaveSettings();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(ReadFile(Settings.ConfigFilePath), old);
    EXPECT_EQ(ListFolder(Folder()), std::vector<std::string>{"config.ini"});
}

TEST_F(ConfigFile, ASaveThatCannotReplaceTheFileFailsCleanly) {
    // The final rename fails when a folder stands where config.ini belongs;
    // unlike permissions, that also holds for the super-user.
    ASSERT_EQ(mkdir(Settings.ConfigFilePath.c_str(), 0700), 0);
    ASSERT_TRUE(WriteFile(Settings.ConfigFilePath + "/keep", "x"));
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(ReadFile(Settings.ConfigFilePath + "/keep"), "x");
    EXPECT_EQ(ListFolder(Folder()), std::vector<std::string>{"config.ini"});
}

TEST_F(ConfigFile, ASaveWithoutAPathWritesNothing) {
    Settings.ConfigFilePath = home_ + "missing/config.ini";
    EXPECT_FALSE(SaveSettings());
    EXPECT_FALSE(FileExists(Settings.ConfigFilePath));
}

}  // namespace
}  // namespace tarvik
