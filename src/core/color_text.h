// Colour texts: six hexadecimal digits RRGGBB.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvik {

// "RRGGBB" -> red | green << 8 | blue << 16; any other length is black.
// Each pair is read up to its first non-hexadecimal character.
std::uint32_t ParseColor(std::string_view text);

// As ParseColor, with the low 8 bits of alpha in bits 24-31.
std::uint32_t ParseColorAlpha(std::string_view text, int alpha);

}  // namespace tarvik
