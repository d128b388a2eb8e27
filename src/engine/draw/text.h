// Measuring and drawing one line of text in a font, at 96 dots per inch.
#pragma once

#include <string_view>

#include "engine/draw/font.h"
#include "engine/draw/surface.h"

namespace tarvik {

struct TextSize {
    int width = 0;
    int height = 0;
};

// The line's logical size in pixels, as drawn on this surface with or
// without anti-aliasing.
TextSize MeasureText(const Surface& surface, const Font& font, std::string_view text,
                     bool antialias);

// Without anti-aliasing, writing all four channels: the line's box becomes
// the back colour and its glyphs the text colour, nothing in between.
bool DrawTextOnBackground(Surface& surface, const Font& font, std::string_view text, int x, int y,
                          Rgba textColor, Rgba backColor);

// Anti-aliased glyphs blended over what is there.
bool DrawTextAntialiased(Surface& surface, const Font& font, std::string_view text, int x, int y,
                         Rgba textColor);

}  // namespace tarvik
