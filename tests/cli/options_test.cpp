#include "cli/options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>

#include "core/formats.h"
#include "core/keywords.h"
#include "core/settings.h"

namespace tarvik {
namespace {

// The documented option words by reader.
struct KeywordOption {
    const char* word;
    int table;
};
const KeywordOption kKeywordOptions[] = {
    {"--dds-load-as", 0},        {"--gif-frame-loading", 2},  {"--ico-frame-loading", 2},
    {"--tiff-frame-loading", 2}, {"--psd-color-model", 6},    {"--raw-load-as", 1},
    {"--raw-tone-mapping", 3},   {"--bmp-compression", 4},    {"--bmp-color-table", 5},
    {"--exr-compression", 4},    {"--jpg-chroma", 7},         {"--jpg-save-as", 8},
    {"--png-compression", 4},    {"--tga-compression", 4},    {"--tiff-compression", 4},
    {"--tiff-color-model", 6},   {"--rotation-type", 9},      {"--width-unit", 10},
    {"--height-unit", 10},       {"--resize-type", 11},       {"--resize-algorithm", 12},
    {"--wm-font-style", 15},     {"--wm-font-effect", 16},    {"--wm-text-alignment", 17},
    {"--wm-text-boundary", 18},  {"--wm-text-position", 19},  {"--wm-text-size", 20},
    {"--wm-image-boundary", 18}, {"--wm-image-position", 19}, {"--wm-image-size", 20},
    {"--file-timestamp", 21},
};
const char* const kIntegerOptions[] = {
    "--raw-header-size",
    "--raw-width",
    "--raw-height",
    "--bmp-bpp",
    "--dds-bpp",
    "--exr-bpp",
    "--gif-bpp",
    "--hdr-bpp",
    "--ico-bpp",
    "--j2k-bpp",
    "--jng-bpp",
    "--jp2-bpp",
    "--jpg-bpp",
    "--jpg-quality",
    "--jxr-bpp",
    "--pbm-bpp",
    "--pcx-bpp",
    "--pfm-bpp",
    "--pgm-bpp",
    "--png-bpp",
    "--ppm-bpp",
    "--psd-bpp",
    "--tga-bpp",
    "--tiff-bpp",
    "--wbmp-bpp",
    "--webp-bpp",
    "--webp-quality",
    "--xpm-bpp",
    "--rotation",
    "--width",
    "--height",
    "--brightness",
    "--contrast",
    "--threshold",
    "--fr-solid-left",
    "--fr-solid-right",
    "--fr-solid-top",
    "--fr-solid-bottom",
    "--fr-solid-opacity",
    "--wm-font-size",
    "--wm-font-leading",
    "--wm-text-padding",
    "--wm-text-opacity",
    "--wm-back-opacity",
    "--wm-text-x-offset",
    "--wm-text-y-offset",
    "--wm-text-rotation",
    "--wm-image-opacity",
    "--wm-image-x-offset",
    "--wm-image-y-offset",
    "--wm-image-rotation",
    "--file-timestamp-custom",
};
const char* const kTextOptions[] = {
    "--rotation-back-color",
    "--fr-solid-left-color",
    "--fr-solid-right-color",
    "--fr-solid-top-color",
    "--fr-solid-bottom-color",
    "--wm-text",
    "--wm-font",
    "--wm-font-color",
    "--wm-back-color",
    "--wm-image",
    "--filename-mask",
};
const char* const kFlagOptions[] = {
    "--png-interlaced", "--keep-aspect-ratio", "--flip-horizontal",      "--flip-vertical",
    "--invert",         "--greyscale",         "--wm-text-antialiasing", "--wm-image-greyscale",
    "--no-subfolders",
};

TEST(Options, EveryDocumentedWordIsBoundWithItsReader) {
    std::set<std::string> documented;
    auto expect = [&](const char* word, Reader reader) -> int {
        documented.insert(word);
        const SettingRow* row = FindOptionRow(word);
        if (row == nullptr) {
            ADD_FAILURE() << word << " is not bound";
            return -1;
        }
        EXPECT_EQ(row->reader, reader) << word;
        return row->keywordTable;
    };
    for (const KeywordOption& k : kKeywordOptions) {
        EXPECT_EQ(expect(k.word, Reader::Keyword), k.table) << k.word;
    }
    for (const char* word : kIntegerOptions) {
        expect(word, Reader::Integer);
    }
    for (const char* word : kTextOptions) {
        expect(word, Reader::Text);
    }
    for (const char* word : kFlagOptions) {
        expect(word, Reader::Switch);
    }
    expect("--gamma", Reader::Float);

    std::set<std::string> bound;
    for (const SettingRow& row : SettingRows()) {
        if (!row.option.empty()) {
            bound.insert(std::string(row.option));
        }
    }
    EXPECT_EQ(bound, documented);
}

class OptionValues : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateFormatLists();
        ResetSettings(true);
    }
};

TEST_F(OptionValues, ReadersSideEffectsAndValueRules) {
    using Check = std::function<void(const SettingsRecord&)>;
    struct Case {
        const char* word;
        const char* value;
        OptionStatus status;
        Check check;
    };
    const auto& s = Settings;
    const Case cases[] = {
        {"--JPG-Quality", "80", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Output.JpgQuality, 80); }},
        {"--jpg-quality", "$5A", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Output.JpgQuality, 90); }},
        {"--jpg-quality", "%1010", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Output.JpgQuality, 10); }},
        {"--jpg-quality", " \t-$10", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Output.JpgQuality, -16); }},
        {"--jpg-quality", "12px", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Output.JpgQuality, 12); }},
        {"--jpg-quality", "high", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Output.JpgQuality, 0); }},
        {"--resize-algorithm", "lanczos", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Transform.ImageResizeAlgorithm, 5); }},
        {"--resize-algorithm", " Lanczos ", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Transform.ImageResizeAlgorithm, 5); }},
        {"--resize-algorithm", "lanczos3", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Transform.ImageResizeAlgorithm, 0); }},
        {"--wm-text-position", "topleft", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Watermark.TextPosition, 0); }},
        {"--wm-text-size", "proportional", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Watermark.TextSize, 0); }},
        {"--tiff-compression", "zip", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Output.TiffCompression, 1); }},
        {"--png-compression", "rle", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Output.PngCompression, 1); }},
        {"--raw-load-as", "48hs", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Input.RawLoadAs, 4); }},
        {"--file-timestamp", "CUSTOM", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Advanced.FileTimestamp, 2); }},
        {"--invert", "0", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Adjustment.ImageInvert, 1);
             EXPECT_EQ(r.Adjustment.DoImageColorCorrection, 1);
         }},
        {"--no-subfolders", "1", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Advanced.KeepSubfolders, 0); }},
        {"--keep-aspect-ratio", "", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Transform.KeepAspectRatio, 1); }},
        {"--brightness", "-20", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Adjustment.ImageBrightness, -20);
             EXPECT_EQ(r.Adjustment.DoImageColorCorrection, 1);
         }},
        {"--brightness", "--20", OptionStatus::BadValue,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Adjustment.ImageBrightness, 0);
             EXPECT_EQ(r.Adjustment.DoImageColorCorrection, 0);  // no side effect either
         }},
        {"--width", "", OptionStatus::BadValue,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Transform.DoImageResize, 0); }},
        {"--wm-text", "", OptionStatus::BadValue,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Watermark.DoWatermark, 0); }},
        {"--width", "50", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Transform.ImageWidth, 50);
             EXPECT_EQ(r.Transform.DoImageResize, 1);
         }},
        {"--rotation", "-90", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Transform.ImageRotation, -90);
             EXPECT_EQ(r.Transform.DoImageRotation, 1);
         }},
        {"--threshold", "128", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Adjustment.ImageThreshold, 128);
             EXPECT_EQ(r.Adjustment.DoImageThreshold, 1);
         }},
        {"--gamma", "0.45", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_FLOAT_EQ(r.Adjustment.ImageGamma, 0.45f);
             EXPECT_EQ(r.Adjustment.DoImageColorCorrection, 1);
         }},
        {"--gamma", "-Infinity", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_TRUE(std::isinf(r.Adjustment.ImageGamma) && r.Adjustment.ImageGamma < 0);
         }},
        {"--gamma", "NaN", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_TRUE(std::isnan(r.Adjustment.ImageGamma)); }},
        {"--gamma", "x1", OptionStatus::Applied,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Adjustment.ImageGamma, 0.0f); }},
        {"--fr-solid-top", "5", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Frame.SolidTop, 5);
             EXPECT_EQ(r.Frame.DoFrame, 1);
         }},
        {"--fr-solid-left-color", "FF0000", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Frame.SolidLeftColor, "FF0000");
             EXPECT_EQ(r.Frame.DoFrame, 0);
         }},
        {"--fr-solid-opacity", "9", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Frame.SolidOpacity, 9);
             EXPECT_EQ(r.Frame.DoFrame, 0);
         }},
        {"--wm-solid-opacity", "9", OptionStatus::Unknown,
         [](const SettingsRecord& r) { EXPECT_EQ(r.Frame.SolidOpacity, 255); }},
        {"--wm-text", " two  words ", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Watermark.Text, " two  words ");  // stored unchanged
             EXPECT_EQ(r.Watermark.DoWatermark, 1);
         }},
        {"--wm-image", "logo.png", OptionStatus::Applied,
         [](const SettingsRecord& r) {
             EXPECT_EQ(r.Watermark.Image, "logo.png");
             EXPECT_EQ(r.Watermark.DoWatermark, 2);
         }},
        {"--input", "a.jpg", OptionStatus::Unknown, [](const SettingsRecord&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.word) + "=" + c.value);
        ResetSettings(true);
        Settings.Watermark.TextSize = 3;  // so that a stored 0 shows
        Settings.Watermark.TextPosition = 8;
        EXPECT_EQ(ApplyConversionOption(c.word, c.value), c.status);
        c.check(s);
    }
}

}  // namespace
}  // namespace tarvik
