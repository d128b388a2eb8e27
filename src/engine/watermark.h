// The text or picture watermark laid over the image.
#pragma once

#include "engine/bitmap.h"

namespace tarvik {

// The watermark font, opened from the [Watermark] font settings. Front
// ends reach these through LoadWatermarkFont and its partners
// (engine/drawing.h), once per run.
bool OpenWatermarkFont();
void CloseWatermarkFont();
bool WatermarkFontOpen();

Bitmap DrawWatermark(Bitmap bitmap, int width, int height);

}  // namespace tarvik
