// The solid frame painted over the image's edges.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/bitmap.h"

namespace tarvik {

// As ParseColor, with alpha in bits 24-31.
std::uint32_t ParseColorAlpha(std::string_view text, int alpha);

// [Frame] Do Frame 0 leaves the bitmap as it is; every other type gives a
// 24-bit bitmap, type 1 with the solid frame laid over its edges.
Bitmap DrawFrame(Bitmap bitmap, int width, int height);

// The band widths of [Frame] Solid Left/Right/Top/Bottom.
struct FrameWidths {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};
FrameWidths CurrentFrameWidths();

// The bitmap at 24 bits per pixel (unchanged when it already is).
Bitmap ConvertTo24Bits(Bitmap bitmap);

// Alpha-blends the 32-bit layer over the image into a new 24-bit bitmap;
// the image comes back unchanged when there is no layer or FreeImage
// refuses the blend.
Bitmap CompositeLayer(Bitmap image, FIBITMAP* layer);

}  // namespace tarvik
