// The text or picture watermark laid over the image. Part of the drawing
// module: it reads nothing but its arguments.
#pragma once

#include <string_view>

#include "core/settings.h"
#include "engine/bitmap.h"
#include "engine/draw/module.h"

namespace tarvik {

// The watermark font, opened from the [Watermark] font settings. Front
// ends reach these through engine/conversion.h, once per run.
bool OpenWatermarkFont(const WatermarkSettings& watermark);
void CloseWatermarkFont();
bool WatermarkFontOpen();

// text is the watermark text with its tokens expanded; frame gives the
// bands a frame boundary keeps the watermark inside (all 0 without a
// frame).
Bitmap DrawWatermark(Bitmap bitmap, int width, int height, const WatermarkSettings& watermark,
                     std::string_view text, const FrameWidths& frame);

}  // namespace tarvik
