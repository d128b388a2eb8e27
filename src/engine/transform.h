// Geometric transforms: rotation, resizing and flips.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/job.h"
#include "engine/bitmap.h"

namespace tarvik {

// A result over the decode limit is refused and, given a record, noted
// there as too large.
Bitmap RotateImage(Bitmap bitmap, ConvertFailure* failure = nullptr);

// unit 0 pixels: value; unit 1 percent: value% of size, halves to even.
int ResizeDimension(int value, int unit, int size);
FREE_IMAGE_FILTER ResizeFilter();
Bitmap ResizeImage(Bitmap bitmap, int width, int height, ConvertFailure* failure = nullptr);

void FlipImage(FIBITMAP* bitmap);

}  // namespace tarvik
