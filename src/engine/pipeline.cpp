#include "engine/pipeline.h"

#include "core/job.h"
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
void NoteFailure(const Bitmap& bitmap, ConvertFailure reason) {
    if (!bitmap && Job.Failure == ConvertFailure::None) {
        Job.Failure = reason;
    }
}

// Asked only once a drawing step has failed: the question loads the module,
// which a conversion without frame or watermark must never do.
void NoteDrawingFailure(const Bitmap& bitmap) {
    if (!bitmap && Job.Failure == ConvertFailure::None) {
        NoteFailure(bitmap,
                    DrawingAvailable() ? ConvertFailure::Drawing : ConvertFailure::DrawingMissing);
    }
}

// Every step is preceded by the pause gate, so a paused run holds between
// steps rather than only between files.
Bitmap TransformSteps(Bitmap bitmap, int& width, int& height) {
    PassPauseGate();
    bitmap = RotateImage(std::move(bitmap));
    PassPauseGate();
    bitmap = ResizeImage(std::move(bitmap), Width(bitmap), Height(bitmap));
    // The image size from here on: frame and watermark keep it.
    width = Width(bitmap);
    height = Height(bitmap);
    if (bitmap) {
        FlipImage(bitmap.get());
    }
    PassPauseGate();
    bitmap = AdjustColors(std::move(bitmap));
    bitmap = GreyscaleImage(std::move(bitmap));
    bitmap = ThresholdImage(std::move(bitmap));
    NoteFailure(bitmap, ConvertFailure::Operation);
    return bitmap;
}

Bitmap DrawingSteps(Bitmap bitmap, int width, int height) {
    PassPauseGate();
    bitmap = FrameStep(std::move(bitmap), width, height);
    NoteDrawingFailure(bitmap);
    PassPauseGate();
    bitmap = WatermarkStep(std::move(bitmap), width, height);
    NoteDrawingFailure(bitmap);
    return bitmap;
}

}  // namespace

bool ConvertFile() {
    Job.Failure = ConvertFailure::None;
    ConvertFailure loadFailure = ConvertFailure::Load;
    Bitmap bitmap = LoadJpeg(Job.SourceFile, &loadFailure);
    Job.SourceBpp = static_cast<int>(BitmapBpp(bitmap));
    if (Width(bitmap) == 0 || Height(bitmap) == 0) {
        Job.Failure = loadFailure;
        return false;
    }

    int width = 0;
    int height = 0;
    bitmap = TransformSteps(std::move(bitmap), width, height);
    bitmap = DrawingSteps(std::move(bitmap), width, height);
    PassPauseGate();
    bitmap = ApplyOutputDepth(std::move(bitmap));
    NoteFailure(bitmap, ConvertFailure::Operation);

    Job.ImageWidth = width;
    Job.ImageHeight = height;
    Job.OutputFile = BuildOutputPath();
    PassPauseGate();
    const SaveResult saved = SaveOutputImage(bitmap.get(), Job.OutputFile);
    if (saved != SaveResult::Saved && Job.Failure == ConvertFailure::None) {
        Job.Failure =
            saved == SaveResult::SameAsInput ? ConvertFailure::SameAsInput : ConvertFailure::Save;
    }
    return saved == SaveResult::Saved;
}

}  // namespace tarvik
