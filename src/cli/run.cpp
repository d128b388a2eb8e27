#include "cli/run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/inputs.h"
#include "core/catalog.h"
#include "core/console.h"
#include "core/files.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/keywords.h"
#include "core/path_detail.h"
#include "core/setting_values.h"
#include "core/settings.h"
#include "core/settings_table.h"
#include "core/text.h"
#include "engine/conversion.h"

namespace tarvik {
namespace {

struct RunPrinter {
    bool quiet;
    bool debug;

    void Status(const std::string& line) const {
        if (!quiet) {
            ConsoleLine(line);
        }
    }
    void Debug(std::string_view label, const std::string& value) const {
        if (debug) {
            ConsoleLine(CatalogText("Debug", label) + value);
        }
    }
    // The setting's debug line: its label and its value, enumerations as
    // their option keyword, the float with two decimals.
    void Setting(std::string_view group, std::string_view key) const {
        const SettingRow* row = FindSetting(group, key);
        if (debug && row != nullptr) {
            Debug(row->debug, SettingDisplay(*row));
        }
    }
    // The debug line, then whether the value lies in the setting's range.
    bool CheckedSetting(std::string_view group, std::string_view key) const {
        Setting(group, key);
        const SettingRow* row = FindSetting(group, key);
        return row != nullptr && InRange(*row, Settings);
    }
    static std::string SettingDisplay(const SettingRow& row) {
        if (row.keywordTable >= 0) {
            return ValueKeyword(row.keywordTable,
                                static_cast<int>(FieldNumber(row.field, Settings)));
        }
        if (IsFloatField(row.field)) {
            return FormatFloat2(static_cast<float>(FieldNumber(row.field, Settings)));
        }
        return FieldText(row, Settings);
    }
};

// Printing an error line ends the run.
int Fail(std::string_view key, std::string_view detail = {}) {
    PrintErrorLine(key, detail);
    return kRunError;
}

std::string CurrentFolder() {
    std::vector<char> buf(4096);
    while (getcwd(buf.data(), buf.size()) == nullptr) {
        if (buf.size() > (1u << 20)) {
            return "/";
        }
        buf.resize(buf.size() * 2);
    }
    std::string folder(buf.data());
    return EndsWith(folder, "/") ? folder : folder + "/";
}

// Steps for the -o folder; the error line it ends with, if any.
int CompleteOutputFolder() {
    std::string& folder = Job.OutputFolder;
    const std::string given = folder;
    if (StartsWith(folder, "..")) {
        const std::string absolute = NormalPath(CurrentFolder() + folder);
        return Fail(
            "Incorrect output folder",
            PathDetailLine(given, FillPlaceholdersOnce(CatalogText("Msg", "Path begins with dots"),
                                                       absolute)));
    }
    if (!StartsWith(folder, "/")) {
        // Relative folders resolve against the current directory: the
        // program's own folder is not writable once installed.
        if (StartsWith(folder, "./")) {
            folder.erase(0, 2);
        }
        folder = CurrentFolder() + folder;
    }
    if (!EndsWith(folder, "/")) {
        folder += "/";
    }
    if (const std::string cause = FolderCause(folder); !cause.empty()) {
        return Fail("Invalid output folder", PathDetailLine(given, cause));
    }
    return kRunAllConverted;
}

int CheckTransform(const RunPrinter& p) {
    const auto& t = Settings.Transform;
    if (t.DoImageRotation != 0) {
        p.Setting("Transform", "Image Rotation Type");
        p.Setting("Transform", "Image Rotation");
        p.Setting("Transform", "Image Rotation Back Color");
    }
    if (t.DoImageResize != 0) {
        p.Debug("Width",
                std::to_string(t.ImageWidth) + " " + ValueKeyword(kKwSizeUnit, t.ImageWidthUnit));
        if (t.ImageWidth == 0) {
            return Fail("Invalid width value");
        }
        p.Debug("Height",
                std::to_string(t.ImageHeight) + " " + ValueKeyword(kKwSizeUnit, t.ImageHeightUnit));
        if (t.ImageHeight == 0) {
            return Fail("Invalid height value");
        }
        p.Setting("Transform", "Keep Aspect Ratio");
        p.Setting("Transform", "Image Resize Type");
        p.Setting("Transform", "Image Resize Algorithm");
    }
    p.Setting("Transform", "Do Image Flip Horizontal");
    p.Setting("Transform", "Do Image Flip Vertical");
    return kRunAllConverted;
}

int CheckAdjustment(const RunPrinter& p) {
    const auto& a = Settings.Adjustment;
    if (a.DoImageColorCorrection != 0) {
        if (!p.CheckedSetting("Adjustment", "Image Brightness")) {
            return Fail("Invalid brightness value");
        }
        if (!p.CheckedSetting("Adjustment", "Image Contrast")) {
            return Fail("Invalid contrast value");
        }
        if (!p.CheckedSetting("Adjustment", "Image Gamma")) {
            return Fail("Invalid gamma value");
        }
        p.Setting("Adjustment", "Image Invert");
    }
    p.Setting("Adjustment", "Do Image Greyscale");
    if (a.DoImageThreshold != 0) {
        p.Setting("Adjustment", "Image Threshold");
    }
    return kRunAllConverted;
}

void PrintFrame(const RunPrinter& p) {
    p.Setting("Frame", "Do Frame");
    if (ValueOf<FrameType>(Settings.Frame.DoFrame) != FrameType::Solid) {
        return;
    }
    for (std::string_view key :
         {"Solid Left", "Solid Right", "Solid Top", "Solid Bottom", "Solid Left Color",
          "Solid Right Color", "Solid Top Color", "Solid Bottom Color", "Solid Opacity"}) {
        p.Setting("Frame", key);
    }
}

int CheckWatermark(const RunPrinter& p) {
    const auto& w = Settings.Watermark;
    p.Setting("Watermark", "Do Watermark");
    const auto type = ValueOf<WatermarkType>(w.DoWatermark);
    if (type == WatermarkType::Text) {
        for (std::string_view key :
             {"Text", "Font", "Font Size", "Font Leading", "Font Color", "Font Style",
              "Font Effect", "Text Antialiasing", "Text Alignment", "Text Padding", "Text Opacity",
              "Back Color", "Back Opacity", "Text Boundary", "Text Position"}) {
            p.Setting("Watermark", key);
        }
        p.Debug("Watermark offset (x/y)",
                std::to_string(w.TextXOffset) + "/" + std::to_string(w.TextYOffset));
        p.Setting("Watermark", "Text Rotation");
        p.Setting("Watermark", "Text Size");
    } else if (type == WatermarkType::Image) {
        for (std::string_view key :
             {"Image", "Image Greyscale", "Image Opacity", "Image Boundary", "Image Position"}) {
            p.Setting("Watermark", key);
        }
        p.Debug("Watermark offset (x/y)",
                std::to_string(w.ImageXOffset) + "/" + std::to_string(w.ImageYOffset));
        p.Setting("Watermark", "Image Rotation");
        p.Setting("Watermark", "Image Size");
    }
    switch (PrepareWatermark()) {
        case WatermarkCheck::Ok:
            return kRunAllConverted;
        case WatermarkCheck::DrawingMissing:
            return Fail("Drawing missing");
        case WatermarkCheck::InvalidFont:
            return Fail("Invalid watermark font");
        case WatermarkCheck::EmptyImage:
        case WatermarkCheck::InvalidImage:
            break;
    }
    return Fail("Invalid watermark image",
                w.Image.empty() ? std::string() : PathDetailLine(w.Image, FileCause(w.Image)));
}

void PrintAdvanced(const RunPrinter& p) {
    p.Setting("Advanced", "Filename Mask");
    p.Setting("Advanced", "File Timestamp");
    if (ValueOf<FileTimestamp>(Settings.Advanced.FileTimestamp) == FileTimestamp::Custom) {
        p.Setting("Advanced", "Custom Timestamp");
    }
    p.Setting("Advanced", "Keep Subfolders");
}

// The checks of the run in their order; the first fault ends it.
int CheckJob(const RunPrinter& p, std::vector<std::string>& files) {
    p.Debug("Input", Job.InputPath);
    if (const std::string detail = ResolveInputs(files); !detail.empty()) {
        return Fail("Invalid input file", detail);
    }
    Job.SourceFile = files.front();
    Job.InputPath.clear();

    // Without -o each output lands beside its own input; the job keeps no
    // output folder, and the line shows the first input's.
    p.Debug("Output", Job.OutputFolder.empty() ? FolderPart(Job.SourceFile) : Job.OutputFolder);
    if (!Job.OutputFolder.empty()) {
        if (const int s = CompleteOutputFolder(); s != kRunAllConverted) {
            return s;
        }
    }

    if (Job.InputExtension.empty()) {
        Job.InputExtension = InputFormats.front();
    }
    if (Job.OutputExtension.empty()) {
        Job.OutputExtension = OutputFormats.front();
    }
    p.Debug("Conversion", Job.OutputExtension);
    if (!IsValidOutputFormat(Job.OutputExtension)) {
        return Fail("Invalid conversion type");
    }
    p.Setting("Output", "BMP BPP");
    p.Setting("Output", "BMP Compression");
    p.Setting("Output", "BMP Color Table");
    if (!IsValidOutputBpp("bmp", Settings.Output.BmpBpp)) {
        return Fail("Invalid bmp-bpp value");
    }
    if (const int s = CheckTransform(p); s != kRunAllConverted) {
        return s;
    }
    if (const int s = CheckAdjustment(p); s != kRunAllConverted) {
        return s;
    }
    PrintFrame(p);
    if (const int s = CheckWatermark(p); s != kRunAllConverted) {
        return s;
    }
    PrintAdvanced(p);
    return kRunAllConverted;
}

int Convert(const RunPrinter& p, const std::vector<std::string>& files) {
    FillJobOutputFields();
    p.Status(CatalogText("General", "Importing"));
    const int total = AddInputs(files);
    p.Status(FillPlaceholders(CatalogText("Msg", "Import complete"), std::to_string(total)));
    if (total == 0) {
        ConsoleLine(CatalogText("Msg", "Conversion is not complete"));
        ConsoleLine(CatalogText("Msg", "Empty input files"));
        return kRunIncomplete;
    }
    p.Status(CatalogText("General", "Converting"));
    const int converted = RunConversionWorker();
    if (converted == 0) {
        ConsoleLine(CatalogText("Msg", "Conversion is not complete"));
        return kRunIncomplete;
    }
    p.Status(CatalogText("Msg", "Conversion complete"));
    p.Status(FillPlaceholders(CatalogText("Msg", "Files converted"), std::to_string(converted),
                              std::to_string(total)));
    return converted == total ? kRunAllConverted : kRunIncomplete;
}

}  // namespace

void PrintErrorLine(std::string_view key, std::string_view detail) {
    ConsoleErrorLine(CatalogText("Msg", "Error") + ": " + CatalogText("Console", key));
    if (!detail.empty()) {
        ConsoleErrorLine(detail);
    }
}

int RunCommandLineConversion(bool quiet) {
    const RunPrinter p{quiet, Job.RunMode == "DEBUG"};
    p.Status(CatalogText("General", "Preparing"));
    std::vector<std::string> files;
    int status = CheckJob(p, files);
    if (status == kRunAllConverted) {
        status = Convert(p, files);
    }
    ReleaseWatermarkFont();
    return status;
}

}  // namespace tarvik
