#include "gui/preferences/pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QVBoxLayout>

#include <array>
#include <cmath>

#include "core/formats.h"

namespace tarvik {

int InterfaceReload = 0;

namespace {

using K = RowKind;

// Inner heights of the scrolled areas.
constexpr int kTransformHeight = 375;
constexpr int kFrameHeight = 310;
constexpr int kTextWatermarkHeight = 610;
constexpr int kImageWatermarkHeight = 310;

const std::vector<std::string_view> kFrameLoading = {"All Frames", "First Frame", "Middle Frame",
                                                     "Last Frame", "Random Frame"};
const std::vector<std::string_view> kNoneRle = {"None", "RLE"};
const std::vector<std::string_view> kPixels = {"Pixels"};
const std::vector<std::string_view> kPositions = {"Top-Left",    "Top-Center",    "Top-Right",
                                                  "Middle-Left", "Middle-Center", "Middle-Right",
                                                  "Bottom-Left", "Bottom-Center", "Bottom-Right"};

// clang-format off
const RowSpec kGeneralRows[] = {
    {"Language", K::Language, "General", "Language"},
    {"Check For Updates", K::List, "General", "Update Range",
     {"Every day", "Every week", "Every month", "Every 3 months", "Every 6 months", "Never"}},
    {"Save window position", K::Check, "General", "Save Window Position"},
};

const RowSpec kInterfaceRows[] = {
    {"UI Theme", K::Theme, "Interface", "UI Theme"},
    {"UI Size", K::List, "Interface", "UI Size", {"Small", "Medium", "Large"}},
};

const RowSpec kInputFormatRows[] = {{"Input Format", K::InputFormat, "Input", "Format"}};
const RowSpec kDdsInputRows[] = {
    {"Load As", K::List, "Input", "DDS Load As", {"Auto", "BGRA", "RGBA"}}};
const RowSpec kGifInputRows[] = {
    {"Frame Loading", K::List, "Input", "GIF Frame Loading", kFrameLoading}};
const RowSpec kIcoInputRows[] = {
    {"Frame Loading", K::List, "Input", "ICO Frame Loading", kFrameLoading}};
const RowSpec kPsdInputRows[] = {
    {"Color Model", K::List, "Input", "PSD Color Model", {"RGB", "CMYK", "LAB"}}};
const RowSpec kRawInputRows[] = {
    {"Load As", K::List, "Input", "RAW Load As",
     {"Auto", "RGB8", "RGB16", "RGB24", "RGB48HS", "RGB48"}},
    {"Header Size", K::Number, "Input", "RAW Header Size", {"Bytes"}},
    {"Image Width", K::Number, "Input", "RAW Image Width", kPixels},
    {"Image Height", K::Number, "Input", "RAW Image Height", kPixels},
    {"Tone Mapping", K::List, "Input", "RAW Tone Mapping",
     {"None", "Linear", "Adaptive Logarithmic", "DR Reduction", "Gradient Domain"}},
};
const RowSpec kTiffInputRows[] = {
    {"Frame Loading", K::List, "Input", "TIFF Frame Loading", kFrameLoading}};

struct SubPanel {
    std::string_view Format;
    std::span<const RowSpec> Rows;
};
const std::array<SubPanel, 6> kInputPanels = {{
    {"dds", kDdsInputRows}, {"gif", kGifInputRows}, {"ico", kIcoInputRows},
    {"psd", kPsdInputRows}, {"raw", kRawInputRows}, {"tiff", kTiffInputRows},
}};

const RowSpec kOutputFormatRows[] = {{"Output Format", K::OutputFormat, "Output", "Format"}};
#define DEPTH(key, format) {"Bits Per Pixel", K::BitDepth, "Output", key, {}, {}, {}, format}
const RowSpec kBmpRows[] = {
    DEPTH("BMP BPP", "bmp"),
    {"Compression", K::List, "Output", "BMP Compression", kNoneRle},
    {"Color Table", K::List, "Output", "BMP Color Table", {"Auto", "Exact"}},
};
const RowSpec kDdsRows[] = {DEPTH("DDS BPP", "dds")};
const RowSpec kExrRows[] = {
    DEPTH("EXR BPP", "exr"),
    {"Compression", K::List, "Output", "EXR Compression", {"None", "ZIP", "PIZ", "PXR24", "B44"}},
};
const RowSpec kGifRows[] = {DEPTH("GIF BPP", "gif")};
const RowSpec kHdrRows[] = {DEPTH("HDR BPP", "hdr")};
const RowSpec kIcoRows[] = {DEPTH("ICO BPP", "ico")};
const RowSpec kJ2kRows[] = {DEPTH("J2K BPP", "j2k")};
const RowSpec kJngRows[] = {DEPTH("JNG BPP", "jng")};
const RowSpec kJp2Rows[] = {DEPTH("JP2 BPP", "jp2")};
const RowSpec kJpgRows[] = {
    DEPTH("JPG BPP", "jpg"),
    {"Image Quality", K::Slider, "Output", "JPG Quality"},
    {"Chroma Subsampling", K::List, "Output", "JPG Chroma", {"None", "Low", "Medium", "High"}},
    {"Save As", K::List, "Output", "JPG Save As",
     {"Baseline Standard", "Baseline Simple", "Baseline Optimized", "Progressive"}},
};
const RowSpec kJxrRows[] = {DEPTH("JXR BPP", "jxr")};
const RowSpec kPbmRows[] = {DEPTH("PBM BPP", "pbm")};
const RowSpec kPcxRows[] = {
    DEPTH("PCX BPP", "pcx"),
    {"Compression", K::List, {}, {}, {"RLE"}},
};
const RowSpec kPfmRows[] = {DEPTH("PFM BPP", "pfm")};
const RowSpec kPgmRows[] = {DEPTH("PGM BPP", "pgm")};
const RowSpec kPngRows[] = {
    DEPTH("PNG BPP", "png"),
    {"Compression", K::List, "Output", "PNG Compression", {"None", "ZLIB1", "ZLIB6", "ZLIB9"}},
    {"Interlaced", K::Check, "Output", "PNG Interlaced"},
};
const RowSpec kPpmRows[] = {DEPTH("PPM BPP", "ppm")};
const RowSpec kPsdRows[] = {DEPTH("PSD BPP", "psd")};
const RowSpec kTgaRows[] = {
    DEPTH("TGA BPP", "tga"),
    {"Compression", K::List, "Output", "TGA Compression", kNoneRle},
};
const RowSpec kTiffRows[] = {
    DEPTH("TIFF BPP", "tiff"),
    {"Compression", K::List, "Output", "TIFF Compression",
     {"None", "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE", "ADOBEDEFLATE", "LZW", "JPEG",
      "LOGLUV"}},
    {"Color Model", K::List, "Output", "TIFF Color Model", {"RGB", "CMYK"}},
};
const RowSpec kWbmpRows[] = {DEPTH("WBMP BPP", "wbmp")};
const RowSpec kWebpRows[] = {
    DEPTH("WEBP BPP", "webp"),
    {"Image Quality", K::Slider, "Output", "WEBP Quality"},
};
const RowSpec kXpmRows[] = {DEPTH("XPM BPP", "xpm")};
#undef DEPTH

const std::array<SubPanel, 23> kOutputPanels = {{
    {"bmp", kBmpRows}, {"dds", kDdsRows}, {"exr", kExrRows}, {"gif", kGifRows},
    {"hdr", kHdrRows}, {"ico", kIcoRows}, {"j2k", kJ2kRows}, {"jng", kJngRows},
    {"jp2", kJp2Rows}, {"jpg", kJpgRows}, {"jxr", kJxrRows}, {"pbm", kPbmRows},
    {"pcx", kPcxRows}, {"pfm", kPfmRows}, {"pgm", kPgmRows}, {"png", kPngRows},
    {"ppm", kPpmRows}, {"psd", kPsdRows}, {"tga", kTgaRows}, {"tiff", kTiffRows},
    {"wbmp", kWbmpRows}, {"webp", kWebpRows}, {"xpm", kXpmRows},
}};

const RowSpec kTransformRows[] = {
    {"Image Rotation", K::Check, "Transform", "Do Image Rotation"},
    {"Rotation Type", K::List, "Transform", "Image Rotation Type",
     {"Simple Rotation", "Advanced Rotation"}},
    {"Rotation Angle", K::Slider, "Transform", "Image Rotation"},
    {"Background Color", K::ColorButton, "Transform", "Image Rotation Back Color"},
    {"Image Resize", K::Check, "Transform", "Do Image Resize"},
    {"Image Width", K::Number, "Transform", "Image Width", {"Pixels", "Percent"}, {},
     "Image Width Unit"},
    {"Image Height", K::Number, "Transform", "Image Height", {"Pixels", "Percent"}, {},
     "Image Height Unit"},
    {"Keep Aspect Ratio", K::Check, "Transform", "Keep Aspect Ratio"},
    {"Resize Type", K::List, "Transform", "Image Resize Type", {"All Images", "Large Images"}},
    {"Resize Algorithm", K::List, "Transform", "Image Resize Algorithm",
     {"Box", "Bilinear", "Bspline", "Bicubic", "Catmullrom", "Lanczos"}},
    {"Image Flip Horizontal", K::Check, "Transform", "Do Image Flip Horizontal"},
    {"Image Flip Vertical", K::Check, "Transform", "Do Image Flip Vertical"},
};

const RowSpec kAdjustmentRows[] = {
    {"Image Brightness", K::Slider, "Adjustment", "Image Brightness"},
    {"Image Contrast", K::Slider, "Adjustment", "Image Contrast"},
    {"Image Gamma", K::Gamma, "Adjustment", "Image Gamma"},
    {"Image Invert", K::Check, "Adjustment", "Image Invert"},
    {"Image Greyscale", K::Check, "Adjustment", "Do Image Greyscale"},
    {"Image Threshold", K::Check, "Adjustment", "Do Image Threshold"},
    {"Threshold Level", K::Slider, "Adjustment", "Image Threshold"},
};

const RowSpec kFrameTypeRows[] = {{"Frame Type", K::List, "Frame", "Do Frame", {"None", "Frame Solid"}}};
const RowSpec kFrameRows[] = {
    {"Left", K::Number, "Frame", "Solid Left", kPixels},
    {"Right", K::Number, "Frame", "Solid Right", kPixels},
    {"Top", K::Number, "Frame", "Solid Top", kPixels},
    {"Bottom", K::Number, "Frame", "Solid Bottom", kPixels},
    {"Left Color", K::ColorButton, "Frame", "Solid Left Color"},
    {"Right Color", K::ColorButton, "Frame", "Solid Right Color"},
    {"Top Color", K::ColorButton, "Frame", "Solid Top Color"},
    {"Bottom Color", K::ColorButton, "Frame", "Solid Bottom Color"},
    {"Opacity", K::Slider, "Frame", "Solid Opacity"},
};

const RowSpec kWatermarkTypeRows[] = {{"Watermark Type", K::List, "Watermark", "Do Watermark",
                                       {"None", "Watermark Text", "Watermark Image"}}};
const RowSpec kTextWatermarkRows[] = {
    {"Text", K::Text, "Watermark", "Text"},
    {"Font", K::FontList, "Watermark", "Font"},
    {"Font Size", K::Number, "Watermark", "Font Size", {"Points"}},
    {"Font Leading", K::Number, "Watermark", "Font Leading", kPixels},
    {"Font Color", K::ColorList, "Watermark", "Font Color", {}, {}, {}, "Font Colors"},
    {"Font Style", K::List, "Watermark", "Font Style", {"Regular", "Bold", "Italic", "Bold Italic"},
     {0, 256, 512, 768}},
    {"Font Effect", K::List, "Watermark", "Font Effect", {"None", "Underline", "Strikeout"},
     {0, 4, 8}},
    {"Antialiasing", K::Check, "Watermark", "Text Antialiasing"},
    {"Text Alignment", K::List, "Watermark", "Text Alignment",
     {"Align Left", "Align Center", "Align Right"}},
    {"Text Padding", K::Number, "Watermark", "Text Padding", kPixels},
    {"Text Opacity", K::Slider, "Watermark", "Text Opacity"},
    {"Background Color", K::ColorList, "Watermark", "Back Color", {}, {}, {}, "Back Colors"},
    {"Background Opacity", K::Slider, "Watermark", "Back Opacity"},
    {"Boundary", K::List, "Watermark", "Text Boundary", {"Bound Image", "Bound Frame"}},
    {"Position", K::List, "Watermark", "Text Position", kPositions},
    {"X-Offset", K::Number, "Watermark", "Text X Offset", kPixels},
    {"Y-Offset", K::Number, "Watermark", "Text Y Offset", kPixels},
    {"Rotation Angle", K::Slider, "Watermark", "Text Rotation"},
    {"Size", K::List, "Watermark", "Text Size", {"Fixed"}},
    {"Scale", K::Slider, "Watermark", "Text Scale"},
};
const RowSpec kImageWatermarkRows[] = {
    {"Image", K::ImagePath, "Watermark", "Image"},
    {"Image Greyscale", K::Check, "Watermark", "Image Greyscale"},
    {"Opacity", K::Slider, "Watermark", "Image Opacity"},
    {"Boundary", K::List, "Watermark", "Image Boundary", {"Bound Image", "Bound Frame"}},
    {"Position", K::List, "Watermark", "Image Position", kPositions},
    {"X-Offset", K::Number, "Watermark", "Image X Offset", kPixels},
    {"Y-Offset", K::Number, "Watermark", "Image Y Offset", kPixels},
    {"Rotation Angle", K::Slider, "Watermark", "Image Rotation"},
    {"Size", K::List, "Watermark", "Image Size", {"Fixed"}},
    {"Scale", K::Slider, "Watermark", "Image Scale"},
};

const RowSpec kAdvancedRows[] = {
    {"Filename Mask", K::Text, "Advanced", "Filename Mask"},
    {"File Timestamp", K::List, "Advanced", "File Timestamp", {"Current", "Original", "Custom"}},
    {"Custom Timestamp", K::DateTime, "Advanced", "Custom Timestamp"},
    {"Out Folders History", K::List, "Advanced", "Out Folders History",
     {"Clean On Exit", "Keep Folders"}},
    {"Out Folders Number", K::Slider, "Advanced", "Out Folders Number"},
    {"Keep Subfolders", K::Check, "Advanced", "Keep Subfolders"},
};
// clang-format on

int Selected(BoundRow* row) {
    return row->Combo->currentIndex();
}

bool Checked(BoundRow* row) {
    return row->Check->isChecked();
}

void EnableRows(PreferencesPage& page, std::initializer_list<std::string_view> keys, bool on) {
    for (const std::string_view key : keys) {
        SetRowEnabled(*page.Find(key), on);
    }
}

}  // namespace

PreferencesPage::PreferencesPage(const Choosers* choosers)
    : choosers_(choosers), column_(new QVBoxLayout(this)) {
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(0);
}

RowPanel* PreferencesPage::AddPanel(std::span<const RowSpec> rows, int scrolledHeight) {
    auto* panel = new RowPanel(rows, choosers_);
    QWidget* holder = scrolledHeight > 0 ? Scrolled(panel, scrolledHeight) : panel;
    // The selector row keeps its height; the panel below it takes the rest.
    column_->addWidget(holder, panels_.empty() ? 0 : 1);
    panels_.push_back(panel);
    holders_.push_back(holder);
    return panel;
}

void PreferencesPage::WatchRow(std::string_view key) {
    BoundRow* row = Find(key);
    if (row->Combo != nullptr) {
        connect(row->Combo, &QComboBox::currentIndexChanged, this, [this] { ApplyRules(); });
    } else {
        connect(row->Check, &QCheckBox::toggled, this, [this] { ApplyRules(); });
    }
}

BoundRow* PreferencesPage::Find(std::string_view key) {
    for (RowPanel* panel : panels_) {
        if (BoundRow* row = panel->Find(key)) {
            return row;
        }
    }
    return nullptr;
}

void PreferencesPage::Fill(const SettingsRecord& s) {
    for (RowPanel* panel : panels_) {
        panel->Fill(s);
    }
    ApplyRules();
}

void PreferencesPage::Store(SettingsRecord& s) const {
    for (const RowPanel* panel : panels_) {
        panel->Store(s);
    }
}

GeneralPage::GeneralPage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kGeneralRows);
}

InterfacePage::InterfacePage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kInterfaceRows);
}

// A new icon size asks for the toolbar icons, a new theme for everything.
void InterfacePage::Store(SettingsRecord& s) const {
    SettingsRecord chosen = s;
    PreferencesPage::Store(chosen);
    if (chosen.Interface.UiSize != s.Interface.UiSize) {
        InterfaceReload = kReloadIcons;
    }
    if (chosen.Interface.UiTheme != s.Interface.UiTheme) {
        InterfaceReload = kReloadTheme;
    }
    s.Interface = chosen.Interface;
}

InputPage::InputPage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kInputFormatRows);
    for (const SubPanel& sub : kInputPanels) {
        AddPanel(sub.Rows);
    }
    WatchRow("Format");
    WatchRow("RAW Load As");
}

void InputPage::ApplyRules() {
    BoundRow* format = Find("Format");
    const int index = format->Combo->currentData().toInt();
    const std::string key = format->Combo->currentIndex() >= 0 && index >= 0 &&
                                    index < static_cast<int>(InputFormats.size())
                                ? InputFormats[static_cast<std::size_t>(index)]
                                : std::string();
    for (std::size_t i = 0; i < kInputPanels.size(); ++i) {
        holders_[i + 1]->setVisible(kInputPanels[i].Format == key);
    }
    const int loadAs = Selected(Find("RAW Load As"));
    const bool sized = loadAs == 1 || loadAs == 2;
    const bool toneMapped = loadAs == 4 || loadAs == 5;
    EnableRows(*this, {"RAW Header Size", "RAW Image Width", "RAW Image Height"}, sized);
    EnableRows(*this, {"RAW Tone Mapping"}, toneMapped);
}

OutputPage::OutputPage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kOutputFormatRows);
    for (const SubPanel& sub : kOutputPanels) {
        AddPanel(sub.Rows);
    }
    WatchRow("Format");
}

int OutputPage::SelectedFormat() {
    return Selected(Find("Format"));
}

void OutputPage::ApplyRules() {
    BoundRow* format = Find("Format");
    const int index = format->Combo->currentData().toInt();
    const std::string key = format->Combo->currentIndex() >= 0 && index >= 0 &&
                                    index < static_cast<int>(OutputFormats.size())
                                ? OutputFormats[static_cast<std::size_t>(index)]
                                : std::string();
    for (std::size_t i = 0; i < kOutputPanels.size(); ++i) {
        holders_[i + 1]->setVisible(kOutputPanels[i].Format == key);
    }
}

TransformPage::TransformPage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kTransformRows, kTransformHeight);
    WatchRow("Do Image Rotation");
    WatchRow("Do Image Resize");
}

void TransformPage::ApplyRules() {
    EnableRows(*this, {"Image Rotation Type", "Image Rotation", "Image Rotation Back Color"},
               Checked(Find("Do Image Rotation")));
    EnableRows(*this,
               {"Image Width", "Image Height", "Keep Aspect Ratio", "Image Resize Type",
                "Image Resize Algorithm"},
               Checked(Find("Do Image Resize")));
}

AdjustmentPage::AdjustmentPage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kAdjustmentRows);
    WatchRow("Do Image Threshold");
}

void AdjustmentPage::ApplyRules() {
    EnableRows(*this, {"Image Threshold"}, Checked(Find("Do Image Threshold")));
}

// Colour correction runs when any of its four settings does something.
void AdjustmentPage::Store(SettingsRecord& s) const {
    PreferencesPage::Store(s);
    const AdjustmentSettings& a = s.Adjustment;
    const bool changes = a.ImageBrightness != 0 || a.ImageContrast != 0 || a.ImageGamma != 1.0f ||
                         a.ImageInvert != 0;
    s.Adjustment.DoImageColorCorrection = changes ? 1 : 0;
}

FramePage::FramePage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kFrameTypeRows);
    AddPanel(kFrameRows, kFrameHeight);
    WatchRow("Do Frame");
}

void FramePage::ApplyRules() {
    holders_[1]->setVisible(Selected(Find("Do Frame")) == 1);
}

WatermarkPage::WatermarkPage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kWatermarkTypeRows);
    AddPanel(kTextWatermarkRows, kTextWatermarkHeight);
    AddPanel(kImageWatermarkRows, kImageWatermarkHeight);
    WatchRow("Do Watermark");
    WatchRow("Text Size");
    WatchRow("Image Size");
}

void WatermarkPage::ApplyRules() {
    const int type = Selected(Find("Do Watermark"));
    holders_[1]->setVisible(type == 1);
    holders_[2]->setVisible(type == 2);
    SetRowVisible(*Find("Text Scale"), Selected(Find("Text Size")) == 1);
    SetRowVisible(*Find("Image Scale"), Selected(Find("Image Size")) == 1);
}

AdvancedPage::AdvancedPage(const Choosers* choosers) : PreferencesPage(choosers) {
    AddPanel(kAdvancedRows);
    WatchRow("File Timestamp");
}

void AdvancedPage::Fill(const SettingsRecord& s) {
    PreferencesPage::Fill(s);
    // Built and carried through the dialog, but not offered.
    SetRowVisible(*Find("Keep Subfolders"), false);
}

void AdvancedPage::ApplyRules() {
    EnableRows(*this, {"Custom Timestamp"}, Selected(Find("File Timestamp")) == 2);
}

}  // namespace tarvik
