#include "engine/pipeline.h"

#include "core/job.h"
#include "core/settings.h"
#include "engine/color.h"
#include "engine/depth.h"
#include "engine/drawing.h"
#include "engine/jpeg_load.h"
#include "engine/naming.h"
#include "engine/save.h"
#include "engine/transform.h"

namespace tarvik {

bool ConvertFile() {
    Bitmap bitmap = LoadJpeg(Job.SourceFile);
    int width = static_cast<int>(BitmapWidth(bitmap));
    int height = static_cast<int>(BitmapHeight(bitmap));
    Job.SourceBpp = static_cast<int>(BitmapBpp(bitmap));
    if (width == 0 || height == 0) {
        return false;
    }

    bitmap = RotateImage(std::move(bitmap));
    width = static_cast<int>(BitmapWidth(bitmap));
    height = static_cast<int>(BitmapHeight(bitmap));

    bitmap = ResizeImage(std::move(bitmap), width, height);
    // The image size from here on: frame and watermark keep it.
    const int imageWidth = static_cast<int>(BitmapWidth(bitmap));
    const int imageHeight = static_cast<int>(BitmapHeight(bitmap));

    if (bitmap) {
        FlipImage(bitmap.get());
    }
    bitmap = AdjustColors(std::move(bitmap));
    bitmap = GreyscaleImage(std::move(bitmap));
    bitmap = ThresholdImage(std::move(bitmap));
    bitmap = FrameStep(std::move(bitmap), imageWidth, imageHeight);
    bitmap = WatermarkStep(std::move(bitmap), imageWidth, imageHeight);
    bitmap = ApplyOutputDepth(std::move(bitmap));

    Job.ImageWidth = imageWidth;
    Job.ImageHeight = imageHeight;
    Job.OutputFile = BuildOutputPath();
    return SaveOutputImage(bitmap.get(), Job.OutputFile);
}

}  // namespace tarvik
