// Loading a JPEG input: the file is checked before FreeImage decodes it.
#pragma once

#include <string>

#include "engine/bitmap.h"

namespace tarvik {

// Decodes the file as JPEG, upright by its EXIF orientation. Empty when the
// file cannot be read, is not a JPEG, or would decode beyond the limits.
Bitmap LoadJpeg(const std::string& path);

}  // namespace tarvik
