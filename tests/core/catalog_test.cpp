#include "core/catalog.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/catalog_table.h"
#include "core/settings_table.h"
#include "core/text.h"

namespace tarvik {
namespace {

struct Lookup {
    const char* group;
    const char* key;
    const char* text;
};

class CatalogTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { BuildCatalog(); }
};

std::vector<std::string> Split(const std::string& text, std::string_view separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    parts.push_back(text.substr(from));
    return parts;
}

// The entries of one group of the built-in table, in table order.
std::vector<CatalogPair> TableGroup(std::string_view name) {
    std::vector<CatalogPair> entries;
    bool inside = false;
    for (const CatalogPair& pair : BuiltInCatalogTable()) {
        const std::string first = UpperAscii(pair.First);
        if (first == kCatalogEndMarker) {
            break;
        }
        if (first == kCatalogGroupMarker) {
            inside = EqualsNoCase(pair.Second, name);
        } else if (inside) {
            entries.push_back(pair);
        }
    }
    return entries;
}

TEST_F(CatalogTest, MatchesGroupAndKeyWithoutRegardToCase) {
    const Lookup cases[] = {
        {"msg", "WARNING", "Warning"},
        {"MENU", "open", "Open..."},
        {"mEnU", "Check for new version", "Check For a New Version"},
        {"custom-converter", "TITLE", "Find a File Converter"},
        {"preferences", "check for updates", "Check for Updates:"},
        {"DEBUG", "saving as", "Saving As: "},
    };
    for (const Lookup& c : cases) {
        EXPECT_EQ(CatalogText(c.group, c.key), c.text) << c.group << "/" << c.key;
    }
}

TEST_F(CatalogTest, UnknownGroupOrKeyGivesTheErrorTextAndLookupsRecover) {
    const Lookup cases[] = {
        {"Msg", "", ""},
        {"Msg", "No such key", ""},
        {"Msg", "Errorr", ""},
        {"Msg", "Erro", ""},
        {"No such group", "Error", ""},
        {"", "Error", ""},
        {"", "", ""},
        {"Msg", "\xC3\x84rger", ""},
        {"Msg", "\xFF", ""},
        // Entries exist in other groups only.
        {"Dialog", "Open", ""},
        {"Preferences", "Processing", ""},
    };
    for (const Lookup& c : cases) {
        EXPECT_EQ(CatalogText(c.group, c.key), kNoStringError) << c.group << "/" << c.key;
        EXPECT_EQ(CatalogText("Msg", "Error"), "Error") << "after " << c.group << "/" << c.key;
    }
    // The invented debug labels of earlier builds are gone.
    EXPECT_EQ(CatalogText("Debug", "Anything"), kNoStringError);
}

TEST_F(CatalogTest, TellsPrefixKeysApart) {
    const Lookup cases[] = {
        {"Preferences", "Csv", "CSV"},
        {"Preferences", "Csv Delimiter", "CSV Delimiter:"},
        {"Preferences", "Csv Export", "Export to CSV"},
        {"Preferences", "Image", "Image:"},
        {"Preferences", "Image Gamma", "Gamma Correction:"},
        {"Debug", "Frame", "Frame: "},
        {"Debug", "Frame left color", "Frame left color: "},
        {"Debug", "OK", "OK"},
        {"Debug", "Not OK", "Not OK"},
    };
    for (const Lookup& c : cases) {
        EXPECT_EQ(CatalogText(c.group, c.key), c.text) << c.group << "/" << c.key;
    }
}

TEST_F(CatalogTest, AlternatingGroupsGiveTheSameTextsAsOneGroupAtATime) {
    const char* groups[] = {"Preferences", "About", "Custom-Converter", "Uninstall", "Menu"};
    const char* keys[] = {"Title", "Help", "Next", "Search", "Version", "Color"};
    std::vector<std::string> byGroup;
    for (const char* g : groups) {
        for (const char* k : keys) {
            byGroup.push_back(CatalogText(g, k));
        }
    }
    std::vector<std::string> alternating(byGroup.size());
    for (std::size_t k = 0; k < std::size(keys); ++k) {
        for (std::size_t g = 0; g < std::size(groups); ++g) {
            alternating[g * std::size(keys) + k] = CatalogText(groups[g], keys[k]);
        }
    }
    EXPECT_EQ(alternating, byGroup);
    EXPECT_EQ(CatalogText("About", "Title"), "About...");
    EXPECT_EQ(CatalogText("Uninstall", "Title"), "Uninstall");
    EXPECT_EQ(CatalogText("Preferences", "Title"), "Preferences...");
}

TEST_F(CatalogTest, EveryEntryOfTheTableIsFoundByItsKey) {
    std::string group;
    for (const CatalogPair& pair : BuiltInCatalogTable()) {
        const std::string first = UpperAscii(pair.First);
        if (first == kCatalogEndMarker) {
            break;
        }
        if (first == kCatalogGroupMarker) {
            group = pair.Second;
            continue;
        }
        EXPECT_EQ(CatalogText(group, pair.First), pair.Second) << group << "/" << pair.First;
        EXPECT_EQ(CatalogText(LowerAscii(group), LowerAscii(pair.First)), pair.Second)
            << group << "/" << pair.First;
    }
}

TEST_F(CatalogTest, GroupsComeInTheirFixedOrder) {
    std::vector<std::string> names;
    for (const CatalogPair& pair : BuiltInCatalogTable()) {
        if (EqualsNoCase(pair.First, kCatalogGroupMarker)) {
            names.push_back(pair.Second);
        }
    }
    const std::vector<std::string> expected = {
        "Menu",  "General",          "Msg",       "Dialog",  "Preferences",
        "About", "Custom-Converter", "Uninstall", "Console", "Debug"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(std::string(BuiltInCatalogTable().back().First), kCatalogEndMarker);
}

TEST_F(CatalogTest, PreferencesHoldsExactlyTheListedKeysInOrder) {
    const std::vector<std::string> expected = {"Title",
                                               "None",
                                               "Auto",
                                               "General",
                                               "Language",
                                               "Check for Updates",
                                               "Every day",
                                               "Every week",
                                               "Every month",
                                               "Every 3 months",
                                               "Every 6 months",
                                               "Never",
                                               "Save window position",
                                               "Interface",
                                               "UI Theme",
                                               "UI Size",
                                               "Small",
                                               "Medium",
                                               "Large",
                                               "Extra Large",
                                               "Huge",
                                               "Input",
                                               "Input Format",
                                               "Header Size",
                                               "Bytes",
                                               "Load As",
                                               "RGB8",
                                               "RGB16",
                                               "RGB24",
                                               "RGB48HS",
                                               "RGB48",
                                               "BGRA",
                                               "RGBA",
                                               "Frame Loading",
                                               "All Frames",
                                               "First Frame",
                                               "Middle Frame",
                                               "Last Frame",
                                               "Random Frame",
                                               "Tone Mapping",
                                               "Linear",
                                               "Adaptive Logarithmic",
                                               "DR Reduction",
                                               "Gradient Domain",
                                               "Output",
                                               "Output Format",
                                               "Bits Per Pixel",
                                               "Compression",
                                               "RLE",
                                               "ZIP",
                                               "PIZ",
                                               "PXR24",
                                               "B44",
                                               "ZLIB1",
                                               "ZLIB6",
                                               "ZLIB9",
                                               "CCITTFAX3",
                                               "CCITTFAX4",
                                               "PACKBITS",
                                               "DEFLATE",
                                               "ADOBEDEFLATE",
                                               "LZW",
                                               "JPEG",
                                               "LOGLUV",
                                               "Color Table",
                                               "Exact",
                                               "Color Model",
                                               "RGB",
                                               "CMYK",
                                               "LAB",
                                               "Image Quality",
                                               "Chroma Subsampling",
                                               "Low",
                                               "Medium",
                                               "High",
                                               "Save As",
                                               "Baseline Standard",
                                               "Baseline Simple",
                                               "Baseline Optimized",
                                               "Progressive",
                                               "Interlaced",
                                               "Transform",
                                               "Image Rotation",
                                               "Rotation Type",
                                               "Simple Rotation",
                                               "Advanced Rotation",
                                               "Rotation Angle",
                                               "Background Color",
                                               "Image Resize",
                                               "Image Width",
                                               "Image Height",
                                               "Pixels",
                                               "Percent",
                                               "Keep Aspect Ratio",
                                               "Resize Type",
                                               "All Images",
                                               "Large Images",
                                               "Resize Algorithm",
                                               "Box",
                                               "Bilinear",
                                               "Bspline",
                                               "Bicubic",
                                               "Catmullrom",
                                               "Lanczos",
                                               "Image Flip Horizontal",
                                               "Image Flip Vertical",
                                               "Adjustment",
                                               "Image Brightness",
                                               "Image Contrast",
                                               "Image Gamma",
                                               "Image Invert",
                                               "Image Greyscale",
                                               "Image Threshold",
                                               "Threshold Level",
                                               "Frame",
                                               "Frame Type",
                                               "Frame Solid",
                                               "Left",
                                               "Right",
                                               "Top",
                                               "Bottom",
                                               "Left Color",
                                               "Right Color",
                                               "Top Color",
                                               "Bottom Color",
                                               "Watermark",
                                               "Watermark Type",
                                               "Watermark Text",
                                               "Watermark Image",
                                               "Text",
                                               "Image",
                                               "Font",
                                               "Font Size",
                                               "Points",
                                               "Font Leading",
                                               "Font Color",
                                               "Color",
                                               "Black",
                                               "Silver",
                                               "Gray",
                                               "White",
                                               "Maroon",
                                               "Red",
                                               "Purple",
                                               "Fuchsia",
                                               "Green",
                                               "Lime",
                                               "Olive",
                                               "Yellow",
                                               "Navy",
                                               "Blue",
                                               "Teal",
                                               "Aqua",
                                               "Orange",
                                               "Brown",
                                               "Violet",
                                               "Font Style",
                                               "Regular",
                                               "Bold",
                                               "Italic",
                                               "Bold Italic",
                                               "Font Effect",
                                               "Underline",
                                               "Strikeout",
                                               "Antialiasing",
                                               "Text Alignment",
                                               "Align Left",
                                               "Align Center",
                                               "Align Right",
                                               "Text Padding",
                                               "Text Opacity",
                                               "Background Opacity",
                                               "Opacity",
                                               "Boundary",
                                               "Bound Image",
                                               "Bound Frame",
                                               "Position",
                                               "Top-Left",
                                               "Top-Center",
                                               "Top-Right",
                                               "Middle-Left",
                                               "Middle-Center",
                                               "Middle-Right",
                                               "Bottom-Left",
                                               "Bottom-Center",
                                               "Bottom-Right",
                                               "X-Offset",
                                               "Y-Offset",
                                               "Size",
                                               "Fixed",
                                               "Proportional",
                                               "Fit",
                                               "Fill",
                                               "Scale",
                                               "Advanced",
                                               "Filename Mask",
                                               "File Timestamp",
                                               "Current",
                                               "Original",
                                               "Custom",
                                               "Custom Timestamp",
                                               "Out Folders History",
                                               "Clean On Exit",
                                               "Keep Folders",
                                               "Out Folders Number",
                                               "Keep Subfolders",
                                               "Export",
                                               "Txt",
                                               "Txt Export",
                                               "Csv Export",
                                               "Csv",
                                               "Csv Delimiter",
                                               "Privacy",
                                               "Clean Recent Files"};
    ASSERT_EQ(expected.size(), 214u);
    std::vector<std::string> keys;
    for (const CatalogPair& pair : TableGroup("Preferences")) {
        keys.push_back(pair.First);
    }
    EXPECT_EQ(keys, expected);
}

TEST_F(CatalogTest, DuplicateKeyMediumLeavesItsNeighboursReachable) {
    int mediums = 0;
    for (const CatalogPair& pair : TableGroup("Preferences")) {
        if (std::string_view(pair.First) == "Medium") {
            EXPECT_STREQ(pair.Second, "Medium");
            ++mediums;
        }
    }
    EXPECT_EQ(mediums, 2);
    const Lookup cases[] = {
        {"Preferences", "Medium", "Medium"},
        {"Preferences", "Maroon", "Maroon"},
        {"Preferences", "Middle-Center", "Middle-Center"},
        {"Preferences", "Middle Frame", "Middle"},
        {"Preferences", "Middle-Right", "Middle-Right"},
    };
    for (const Lookup& c : cases) {
        EXPECT_EQ(CatalogText(c.group, c.key), c.text) << c.key;
    }
}

TEST_F(CatalogTest, PreferencesLabelsAndChoicesShowTheirDialogTexts) {
    const Lookup cases[] = {
        {"Preferences", "Check For Updates", "Check for Updates:"},
        {"Preferences", "Save window position", "Save Window's Coords:"},
        {"Preferences", "UI Theme", "Theme:"},
        {"Preferences", "UI Size", "Icon Size:"},
        {"Preferences", "Image Gamma", "Gamma Correction:"},
        {"Preferences", "Image Invert", "Invert Image:"},
        {"Preferences", "Image Greyscale", "Greyscale Image:"},
        {"Preferences", "Tone Mapping", "HDR Tone Mapping:"},
        {"Preferences", "Keep Aspect Ratio", "Keep Proportions:"},
        {"Preferences", "Image Flip Horizontal", "Flip Horizontal:"},
        {"Preferences", "Frame Type", "Frame:"},
        {"Preferences", "Watermark Type", "Watermark:"},
        {"Preferences", "Out Folders History", "Output Folders History:"},
        {"Preferences", "Out Folders Number", "Output Folders Number:"},
        {"Preferences", "Bspline", "B-Spline"},
        {"Preferences", "Catmullrom", "Catmull-Rom Spline"},
        {"Preferences", "RGB48HS", "RGB 48-bit (HS)"},
        {"Preferences", "BGRA", "BGR 32-bit"},
        {"Preferences", "All Frames", "All"},
        {"Preferences", "PIZ", "PIZ Wavelet"},
        {"Preferences", "ZLIB6", "ZLib Level 6"},
        {"Preferences", "DEFLATE", "Deflate (ZLib)"},
        {"Preferences", "LOGLUV", "LogLuv"},
        {"Preferences", "Strikeout", "Strikethrough"},
        {"Preferences", "Align Center", "Center"},
        {"Preferences", "Bound Frame", "Frame"},
        {"Preferences", "Frame Solid", "Solid Color"},
        {"Preferences", "Keep Folders", "Keep Recent"},
        {"Preferences", "Clean On Exit", "Clean on Exit"},
        {"Preferences", "Pixels", "pixels"},
        {"Preferences", "Bytes", "bytes"},
        {"Preferences", "Simple Rotation", "Simple"},
        {"Preferences", "Frame", "Frame"},
        {"Preferences", "Color", "Color"},
        {"Preferences", "Fuchsia", "Fuchsia"},
        {"Preferences", "Title", "Preferences..."},
        {"Dialog", "Defaults", "Defaults"},
    };
    for (const Lookup& c : cases) {
        EXPECT_EQ(CatalogText(c.group, c.key), c.text) << c.key;
    }
}

TEST_F(CatalogTest, MessageTextsKeepTheirLineBreaks) {
    // Three CR LF breaks: message, folder, blank line, request.
    const std::string text =
        FillPlaceholders(CatalogText("Msg", "Invalid output folder"), "/srv/out");
    const std::vector<std::string> expected = {
        "The following output folder is invalid or doesn't exist:", "/srv/out", "",
        "Please, correct the output path and try again!"};
    EXPECT_EQ(Split(text, "\r\n"), expected);
    EXPECT_EQ(CountNoCase(text, "\n"), CountNoCase(text, "\r\n"));
}

TEST_F(CatalogTest, ConsoleAndDebugTextsOfTheCommandLineRun) {
    for (const char* key :
         {"Incorrect number of parameters", "Invalid profile file", "Invalid input file",
          "Incorrect output folder", "Invalid output folder", "Invalid conversion type",
          "Invalid bmp-bpp value", "Invalid width value", "Invalid height value",
          "Invalid brightness value", "Invalid contrast value", "Invalid gamma value",
          "Invalid watermark font", "Invalid watermark image"}) {
        EXPECT_EQ(CatalogText("Console", key), key);
    }
    EXPECT_EQ(CatalogText("Console", "Press any key"), "Press any key to exit.");
    // Labels the run and the worker print besides the settings' own.
    for (const char* key : {"Input", "Output", "Conversion", "Width", "Height",
                            "Watermark offset (x/y)", "Processing", "Saving As"}) {
        EXPECT_EQ(CatalogText("Debug", key), std::string(key) + ": ");
    }
    for (const SettingRow& row : SettingRows()) {
        if (!row.debug.empty()) {
            EXPECT_EQ(CatalogText("Debug", row.debug), std::string(row.debug) + ": ")
                << row.group << "/" << row.key;
        }
    }
}

TEST_F(CatalogTest, HelpTextHasItsThirtySixLines) {
    const std::string help = CatalogText("Console", "Help");
    EXPECT_EQ(help.find('\r'), std::string::npos);
    const std::vector<std::string> lines = Split(help, "\n");
    ASSERT_EQ(lines.size(), 36u);
    for (std::size_t blank : {0u, 2u, 7u, 9u, 14u, 16u, 29u, 31u}) {
        EXPECT_EQ(lines[blank], " ") << "line " << blank + 1;
    }
    EXPECT_EQ(lines[1], "Usage: %s1% -i <filename> [options]");
    EXPECT_EQ(lines[4], "  %s1% -i /tmp/example.%s2%");
    EXPECT_EQ(lines[5], "  %s1% -i /tmp/example.%s2% -o ~/converted");
    EXPECT_EQ(lines[6], "  %s1% -i /tmp/example.%s2% -o ~/converted --jpg-quality=95");
    EXPECT_EQ(lines[35], "  -v, --version             Display version information and exit");
    const std::string filled = FillPlaceholders(help, "tarvik", "jpg");
    EXPECT_EQ(Split(filled, "\n")[3], "  tarvik -i example.jpg");
    EXPECT_EQ(filled.find('%'), std::string::npos);
}

TEST(FillPlaceholdersTest, ReplacesNonEmptyValuesInTurn) {
    struct Case {
        const char* text;
        const char* s1;
        const char* s2;
        const char* s3;
        const char* s4;
        const char* expected;
    };
    const Case cases[] = {
        {"Files converted: %s1% of %s2%", "3", "4", "", "", "Files converted: 3 of 4"},
        {"Files converted: %s1% of %s2%", "3", "", "", "", "Files converted: 3 of %s2%"},
        {"Files converted: %S1% of %s2%", "3", "4", "", "", "Files converted: 3 of 4"},
        {"(%s1%/%s2%) %s1%", "7", "9", "", "", "(7/9) 7"},
        {"%s1%", "a%s2%b", "X", "", "", "aXb"},
        {"%s1% %s4%", "%S3%", "", "c", "d", "c d"},
        {"%s2%", "%s1%", "%s1%", "", "", "%s1%"},
        {"", "3", "4", "", "", ""},
        {"no placeholders", "3", "4", "5", "6", "no placeholders"},
        {"%s1", "3", "", "", "", "%s1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FillPlaceholders(c.text, c.s1, c.s2, c.s3, c.s4), c.expected) << c.text;
    }
}

// In one pass a value goes in as it is: a path holding a placeholder is
// shown as written.
TEST(FillPlaceholdersTest, OncePutsValuesInAsTheyAre) {
    struct Case {
        const char* text;
        const char* s1;
        const char* s2;
        const char* expected;
    };
    const Case cases[] = {
        {"  %s1%: %s2%", "a.jpg", "is empty", "  a.jpg: is empty"},
        {"  %s1%: %s2%", "%s2%.jpg", "is empty", "  %s2%.jpg: is empty"},
        {"  %s1%: %s2%", "a.jpg", "see %s1%", "  a.jpg: see %s1%"},
        {"%S1% and %s1%", "x", "", "x and x"},
        {"%s1% of %s2%", "3", "", "3 of %s2%"},
        {"%s5% %s0% %s1 %", "x", "y", "%s5% %s0% %s1 %"},
        {"100%s1%%", "7", "", "1007%"},
        {"", "x", "y", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FillPlaceholdersOnce(c.text, c.s1, c.s2), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace tarvik
