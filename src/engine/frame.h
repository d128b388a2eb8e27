// The solid frame painted over the image's edges. Part of the drawing
// module: it reads nothing but its arguments.
#pragma once

#include "core/settings.h"
#include "engine/bitmap.h"
#include "engine/draw/module.h"

namespace tarvik {

// [Frame] Do Frame none leaves the bitmap as it is; every other type gives
// a 24-bit bitmap, a solid frame with its bands laid over the edges.
Bitmap DrawFrame(Bitmap bitmap, int width, int height, const FrameSettings& frame);

// The band widths of [Frame] Solid Left/Right/Top/Bottom.
FrameWidths FrameWidthsOf(const FrameSettings& frame);

// The bitmap at 24 bits per pixel (unchanged when it already is).
Bitmap ConvertTo24Bits(Bitmap bitmap);

// Alpha-blends the 32-bit layer over the image into a new 24-bit bitmap;
// the image comes back unchanged when there is no layer or FreeImage
// refuses the blend.
Bitmap CompositeLayer(Bitmap image, FIBITMAP* layer);

}  // namespace tarvik
