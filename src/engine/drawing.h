// The frame and watermark steps and the watermark font, as the pipeline
// and the front ends use them. The drawing itself is done by the drawing
// module, loaded on first use: a conversion without frame or watermark
// never loads the drawing libraries.
#pragma once

#include "engine/bitmap.h"

namespace tarvik {

// [Frame] Do Frame none returns the bitmap untouched; otherwise the module
// draws the frame. Without the module the step yields no bitmap, so the
// file fails instead of being written without its frame.
Bitmap FrameStep(Bitmap bitmap, int width, int height);
// The same for [Watermark] Do Watermark, with the watermark text's tokens
// expanded for the current file.
Bitmap WatermarkStep(Bitmap bitmap, int width, int height);

// The watermark font, loaded once per run from the [Watermark] font
// settings (front ends do it through PrepareWatermark) and released after
// the run with ReleaseWatermarkFont (engine/conversion.h). Loading fails
// without the module.
bool LoadWatermarkFont();
bool WatermarkFontLoaded();

// Whether the drawing module could be found and loaded.
bool DrawingAvailable();

}  // namespace tarvik
