#include "engine/pipeline.h"

#include "core/settings.h"
#include "engine/color.h"
#include "engine/depth.h"
#include "engine/drawing.h"
#include "engine/jpeg_load.h"
#include "engine/naming.h"
#include "engine/pause_gate.h"
#include "engine/save.h"
#include "engine/transform.h"

namespace tarvik {
namespace {

int Width(const Bitmap& bitmap) {
    return static_cast<int>(BitmapWidth(bitmap));
}

int Height(const Bitmap& bitmap) {
    return static_cast<int>(BitmapHeight(bitmap));
}

// A step that yields no bitmap fails the file; the following steps pass
// the missing bitmap along, and the first reason is the one reported.
void NoteFailure(const Bitmap& bitmap, ConvertFailure reason, ConvertFailure& failure) {
    if (!bitmap && failure == ConvertFailure::None) {
        failure = reason;
    }
}

// Asked only once a drawing step has failed: the question loads the module,
// which a conversion without frame or watermark must never do.
void NoteDrawingFailure(const Bitmap& bitmap, ConvertFailure& failure) {
    if (!bitmap && failure == ConvertFailure::None) {
        failure = DrawingAvailable() ? ConvertFailure::Drawing : ConvertFailure::DrawingMissing;
    }
}

// The watermark text's tokens read the job's running state (the previous
// file's size and depth, %n%, %rnd%), so a text that may hold one is drawn
// in the file's turn.
bool WatermarkWaitsForItsTurn() {
    return Settings.Watermark.DoWatermark != 0 &&
           Settings.Watermark.Text.find('%') != std::string::npos;
}

// Every step is preceded by the pause gate, so a paused run holds between
// steps rather than only between files.
void TransformSteps(FileRun& f) {
    PassPauseGate();
    f.Image = RotateImage(std::move(f.Image), &f.Failure);
    PassPauseGate();
    f.Image = ResizeImage(std::move(f.Image), Width(f.Image), Height(f.Image), &f.Failure);
    // The image size from here on: frame and watermark keep it.
    f.ImageWidth = Width(f.Image);
    f.ImageHeight = Height(f.Image);
    if (f.Image) {
        FlipImage(f.Image.get());
    }
    PassPauseGate();
    f.Image = AdjustColors(std::move(f.Image));
    f.Image = GreyscaleImage(std::move(f.Image));
    f.Image = ThresholdImage(std::move(f.Image));
    NoteFailure(f.Image, ConvertFailure::Operation, f.Failure);
}

void WatermarkAndDepth(FileRun& f) {
    if (!f.WatermarkDone) {
        PassPauseGate();
        f.Image = WatermarkStep(std::move(f.Image), f.ImageWidth, f.ImageHeight);
        NoteDrawingFailure(f.Image, f.Failure);
        f.WatermarkDone = true;
    }
    if (!f.OutputBpp && f.Image) {
        PassPauseGate();
        f.OutputBpp = OutputBppFor(f.SourceBpp);
        f.Image = ConvertToOutputDepth(std::move(f.Image), *f.OutputBpp);
        NoteFailure(f.Image, ConvertFailure::Operation, f.Failure);
    }
}

// No output replaces an input of the run or an output the run has
// written: the file is not converted, and its record names the holder.
bool MayTakeName(FileRun& f, const RunNames& names) {
    const NameClash clash = CheckOutputName(names, Job.OutputFile, f.SourceFile);
    if (clash.Failure == ConvertFailure::None) {
        return true;
    }
    f.Failure = Job.Failure = clash.Failure;
    f.NameHolder = clash.Other;
    return false;
}

}  // namespace

void RunIndependentSteps(FileRun& f) {
    ConvertFailure loadFailure = ConvertFailure::Load;
    f.Image = LoadJpeg(f.SourceFile, &loadFailure);
    f.SourceBpp = static_cast<int>(BitmapBpp(f.Image));
    f.Loaded = Width(f.Image) != 0 && Height(f.Image) != 0;
    if (!f.Loaded) {
        f.Image.reset();
        f.Failure = loadFailure;
        return;
    }
    TransformSteps(f);
    PassPauseGate();
    f.Image = FrameStep(std::move(f.Image), f.ImageWidth, f.ImageHeight);
    NoteDrawingFailure(f.Image, f.Failure);
    if (!WatermarkWaitsForItsTurn()) {
        WatermarkAndDepth(f);
    }
}

bool FinishFileInOrder(FileRun& f, RunNames& names) {
    Job.SourceFile = f.SourceFile;
    Job.RelativeFolder = f.RelativeFolder;
    Job.SourceBpp = f.SourceBpp;
    Job.Failure = f.Failure;
    if (!f.Loaded) {
        return false;
    }
    WatermarkAndDepth(f);
    Job.Failure = f.Failure;
    // A file whose steps failed before the depth step leaves the depth of
    // the file before it.
    if (f.OutputBpp && Job.AutoBpp != 0) {
        Job.OutputBpp = *f.OutputBpp;
    }
    Job.ImageWidth = f.ImageWidth;
    Job.ImageHeight = f.ImageHeight;
    Job.OutputFile = BuildOutputPath();
    PassPauseGate();
    if (f.Image && !MayTakeName(f, names)) {
        f.Image.reset();
        return false;
    }
    const SaveResult saved = SaveOutputImage(f.Image.get(), Job.OutputFile);
    f.Image.reset();
    if (saved == SaveResult::Saved) {
        NoteWrittenOutput(names, Job.OutputFile, f.SourceFile, f.RelativeFolder);
        return true;
    }
    if (Job.Failure == ConvertFailure::None) {
        Job.Failure =
            saved == SaveResult::SameAsInput ? ConvertFailure::SameAsInput : ConvertFailure::Save;
    }
    return false;
}

bool ConvertFile() {
    FileRun file;
    file.SourceFile = Job.SourceFile;
    file.RelativeFolder = Job.RelativeFolder;
    RunNames names;
    NoteRunInput(names, file.SourceFile, file.RelativeFolder);
    RunIndependentSteps(file);
    return FinishFileInOrder(file, names);
}

}  // namespace tarvik
