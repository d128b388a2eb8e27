// Geometric transforms: rotation, resizing and flips.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/bitmap.h"

namespace tarvik {

Bitmap RotateImage(Bitmap bitmap);

// unit 0 pixels: value; unit 1 percent: value% of size, halves to even.
int ResizeDimension(int value, int unit, int size);
FREE_IMAGE_FILTER ResizeFilter();
Bitmap ResizeImage(Bitmap bitmap, int width, int height);

void FlipImage(FIBITMAP* bitmap);

}  // namespace tarvik
