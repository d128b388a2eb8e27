// The text or picture watermark laid over the image.
#pragma once

#include "engine/bitmap.h"

namespace tarvik {

// The watermark font is loaded once per run by the front end from the
// [Watermark] font settings and released after the run.
bool LoadWatermarkFont();
void ReleaseWatermarkFont();
bool WatermarkFontLoaded();

Bitmap DrawWatermark(Bitmap bitmap, int width, int height);

}  // namespace tarvik
