// Loading a JPEG input: the file is checked before FreeImage decodes it.
#pragma once

#include <string>

#include "engine/bitmap.h"

namespace tarvik {

// Accurate DCT, turned upright by the EXIF orientation.
inline constexpr int kJpegLoadFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;

// Decodes the file as JPEG, upright by its EXIF orientation. Empty when the
// file cannot be read, is not a complete JPEG (no frame, no scan, or no end
// marker), declares a zero or too large size, or has too many scans.
// Metadata that would lead FreeImage out of bounds is repaired or dropped
// first; the image itself still loads.
Bitmap LoadJpeg(const std::string& path);

}  // namespace tarvik
