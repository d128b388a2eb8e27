#include "gui/conversion_run.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/catalog.h"
#include "core/files.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/path_detail.h"
#include "core/settings.h"
#include "core/text.h"
#include "engine/conversion.h"
#include "gui/folder_history.h"
#include "gui/input_folders.h"
#include "gui/message_boxes.h"
#include "gui/progress_window.h"

namespace tarvik {
namespace {

std::string Trimmed(const QString& text) {
    return std::string(Trim(text.toStdString()));
}

// Fills Job and InputList from the window.
void TakeJobFromWindow(const MainControls& controls) {
    Job.SourceFile = Trimmed(controls.InputFileBox->text());
    InputList.clear();
    if (IsAcceptedInputFile(Job.SourceFile)) {
        InputList[Job.SourceFile] = InputEntry{0, ""};
    }
    Job.OutputFolder = Trimmed(controls.OutputFolderBox->currentText());
    const int format = controls.OutputFormatBox->currentData().toInt();
    Job.OutputExtension = format >= 0 && format < static_cast<int>(OutputFormats.size())
                              ? OutputFormats[static_cast<std::size_t>(format)]
                              : std::string();
}

// A refused job: "Conversion stopped" and the warning, with the line that
// names the refused file or folder and why below it.
bool Refuse(const MainControls& controls, const std::string& warning,
            const std::string& detail = {}) {
    SetStatusText(controls, CatalogText("Msg", "Conversion is not complete"));
    ShowWarning(controls.Window, warning, detail);
    return false;
}

// Why the input box's file was not taken; "" when the box is empty.
std::string InputDetail(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    // A missing file is refused only for its extension; a file that is
    // there, for its extension or for being empty or a folder.
    std::string cause = FileIdOf(path) ? FileCause(path) : std::string();
    if (cause.empty()) {
        cause = FillPlaceholdersOnce(CatalogText("Msg", "Path not JPEG"), AcceptedExtensionsText());
    }
    return PathDetailLine(path, cause);
}

bool CheckFolders(const MainControls& controls) {
    if (InputList.empty()) {
        return Refuse(controls, CatalogText("Msg", "Empty input files"),
                      InputDetail(Job.SourceFile));
    }
    if (Job.OutputFolder.empty()) {
        return Refuse(controls, CatalogText("Msg", "Empty output folder"));
    }
    if (!EndsWith(Job.OutputFolder, "/")) {
        Job.OutputFolder += '/';
    }
    if (const std::string cause = FolderCause(Job.OutputFolder); !cause.empty()) {
        return Refuse(
            controls,
            FillPlaceholders(CatalogText("Msg", "Invalid output folder"), Job.OutputFolder),
            PathDetailLine(Job.OutputFolder, cause));
    }
    return true;
}

bool CheckResize(const MainControls& controls) {
    const auto& t = Settings.Transform;
    if (t.DoImageResize != 0 && t.ImageWidth == 0) {
        return Refuse(controls, CatalogText("Msg", "Invalid width"));
    }
    if (t.DoImageResize != 0 && t.ImageHeight == 0) {
        return Refuse(controls, CatalogText("Msg", "Invalid height"));
    }
    return true;
}

// The status bar keeps "Preparing..." after a watermark warning.
bool CheckWatermark(const MainControls& controls) {
    const auto& w = Settings.Watermark;
    switch (PrepareWatermark()) {
        case WatermarkCheck::Ok:
            return true;
        case WatermarkCheck::EmptyImage:
            ShowWarning(controls.Window, CatalogText("Msg", "Empty watermark image"));
            return false;
        case WatermarkCheck::InvalidImage:
            ShowWarning(controls.Window,
                        FillPlaceholders(CatalogText("Msg", "Invalid watermark image"), w.Image),
                        PathDetailLine(w.Image, FileCause(w.Image)));
            return false;
        case WatermarkCheck::DrawingMissing:
        case WatermarkCheck::InvalidFont:
            break;
    }
    ShowWarning(controls.Window,
                w.DoWatermark == 2
                    ? FillPlaceholders(CatalogText("Msg", "Invalid watermark image"), w.Image)
                    : FillPlaceholders(CatalogText("Msg", "Invalid watermark font"), w.Font));
    return false;
}

}  // namespace

void StartConversion(const MainControls& controls) {
    TakeJobFromWindow(controls);
    SetStatusText(controls, CatalogText("General", "Preparing"));
    if (!CheckFolders(controls) || !CheckResize(controls) || !CheckWatermark(controls)) {
        return;
    }
    FillJobOutputFields();
    if (RememberOutputFolder(Job.OutputFolder) == 1) {
        RefreshOutputFolderBox(controls);
    }
    SetStatusText(controls, CatalogText("General", "Converting"));
    ProgressWindow progress(controls, static_cast<int>(InputList.size()));
    progress.Run();
    if (Settings.Watermark.DoWatermark == 1) {
        ReleaseWatermarkFont();
    }
}

}  // namespace tarvik
