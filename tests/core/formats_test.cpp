#include <gtest/gtest.h>

#include "core/formats.h"
#include "core/settings.h"

namespace tarvik {
namespace {

class Formats : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateFormatLists();
        ResetSettings(true);
    }
};

TEST_F(Formats, TablesHoldEveryRow) {
    EXPECT_EQ(OutputFormatTable().size(), 20u);
    EXPECT_EQ(InputFormatTable().size(), 79u);
    EXPECT_EQ(InputFormats, std::vector<std::string>{"jpg"});
    EXPECT_EQ(OutputFormats, std::vector<std::string>{"bmp"});
    const FormatRecord* tiff = OutputFormatRecord("tiff");
    ASSERT_NE(tiff, nullptr);
    EXPECT_EQ(tiff->FormatId, 18);
    EXPECT_EQ(tiff->BppList, "1,4,8,24,32,48,96");
    const FormatRecord* nef = InputFormatRecord("nef");
    ASSERT_NE(nef, nullptr);
    EXPECT_EQ(nef->Key, "raw");
    EXPECT_EQ(nef->Description, "Nikon Camera RAW Image");
    EXPECT_EQ(InputFormatRecord("apm")->Description, "Aldus Placeable Metafile");
    EXPECT_EQ(InputFormatRecord("jif")->Key, "jpg");
}

TEST_F(Formats, OutputFormatIsCaseSensitiveAndNarrowedToBmp) {
    EXPECT_TRUE(IsValidOutputFormat("bmp"));
    EXPECT_FALSE(IsValidOutputFormat("BMP"));
    EXPECT_FALSE(IsValidOutputFormat("png"));  // has a row, but is not in this build
    EXPECT_FALSE(IsValidOutputFormat(""));
}

TEST_F(Formats, ValidBpp) {
    struct Case {
        const char* key;
        int bpp;
        bool valid;
    };
    const Case cases[] = {{"bmp", 0, true},   {"bmp", 24, true},   {"bmp", 1, true},
                          {"bmp", 2, false},  {"bmp", 48, false},  {"png", 48, true},
                          {"jpg", 16, false}, {"nosuch", 0, true}, {"nosuch", 8, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidOutputBpp(c.key, c.bpp), c.valid) << c.key << " " << c.bpp;
    }
}

TEST_F(Formats, AutoBppTakesTheFirstDepthNotSmaller) {
    struct Case {
        const char* key;
        int source;
        int expected;
    };
    const Case cases[] = {{"bmp", 8, 8},   {"bmp", 24, 24}, {"bmp", 48, 32}, {"bmp", 2, 4},
                          {"bmp", 96, 32}, {"jpg", 32, 24}, {"gif", 24, 8},  {"png", 1, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(AutoOutputBpp(c.key, c.source), c.expected) << c.key << " " << c.source;
    }
}

TEST_F(Formats, SaveFlagsFollowTheSettings) {
    EXPECT_EQ(OutputSaveFlags("bmp"), 0);
    Settings.Output.BmpCompression = 1;
    EXPECT_EQ(OutputSaveFlags("bmp"), 1);
    Settings.Output.BmpCompression = 2;  // any other value gives no flag
    EXPECT_EQ(OutputSaveFlags("bmp"), 0);

    Settings.Output.JpgQuality = 80;
    Settings.Output.JpgChroma = 2;
    Settings.Output.JpgSaveAs = 3;
    EXPECT_EQ(OutputSaveFlags("jpg"), 80 | 0x4000 | 0x2000);
    Settings.Output.PngCompression = 0;
    Settings.Output.PngInterlaced = 1;
    EXPECT_EQ(OutputSaveFlags("png"), 0x0100 | 0x0200);
    Settings.Output.TiffCompression = 6;
    Settings.Output.TiffColorModel = 1;
    EXPECT_EQ(OutputSaveFlags("tiff"), 0x4000 | 0x0001);
    Settings.Output.WebpQuality = 100;
    EXPECT_EQ(OutputSaveFlags("webp"), 0x0100);
    Settings.Output.WebpQuality = 75;
    EXPECT_EQ(OutputSaveFlags("webp"), 75);
    Settings.Output.TgaCompression = 1;
    EXPECT_EQ(OutputSaveFlags("tga"), 2);
    Settings.Output.ExrCompression = 4;
    EXPECT_EQ(OutputSaveFlags("exr"), 0x0020);
    EXPECT_EQ(OutputSaveFlags("jxr"), 100);
    EXPECT_EQ(OutputSaveFlags("gif"), 0);
    EXPECT_EQ(OutputSaveFlags("nosuch"), 0);
}

TEST_F(Formats, BppSettingOfAFormat) {
    Settings.Output.BmpBpp = 8;
    Settings.Output.TiffBpp = 48;
    EXPECT_EQ(OutputBppSetting("bmp"), 8);
    EXPECT_EQ(OutputBppSetting("tiff"), 48);
    EXPECT_EQ(OutputBppSetting("nosuch"), 0);
}

}  // namespace
}  // namespace tarvik
