// The solid frame painted over the image's edges.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/bitmap.h"

namespace tarvik {

// As ParseColor, with alpha in bits 24-31.
std::uint32_t ParseColorAlpha(std::string_view text, int alpha);

Bitmap DrawFrame(Bitmap bitmap, int width, int height);

}  // namespace tarvik
