// The frame and watermark steps and the watermark font, as the pipeline
// and the front ends use them. The drawing itself is done by the drawing
// module, loaded on first use: a conversion without frame or watermark
// never loads the drawing libraries.
#pragma once

#include "engine/bitmap.h"

namespace tarvik {

// [Frame] Do Frame 0 returns the bitmap untouched; otherwise the frame is
// drawn (a 24-bit bitmap comes back, without a frame when the module is
// missing).
Bitmap FrameStep(Bitmap bitmap, int width, int height);
// The same for [Watermark] Do Watermark.
Bitmap WatermarkStep(Bitmap bitmap, int width, int height);

// The watermark font, loaded once per run by the front end from the
// [Watermark] font settings and released after the run.
bool LoadWatermarkFont();
void ReleaseWatermarkFont();
bool WatermarkFontLoaded();

// Whether the drawing module could be found and loaded.
bool DrawingAvailable();

}  // namespace tarvik
