// Fonts of the drawing layer, found through fontconfig and described for
// Pango.
#pragma once

#include <memory>
#include <string>

typedef struct _PangoFontDescription PangoFontDescription;

namespace tarvik {

struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* description) const noexcept;
};
using FontDescription = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;

// Points convert to pixels as on the desktop the program was made for.
inline constexpr double kFontDotsPerInch = 96.0;
inline constexpr double kPointsPerInch = 72.0;

// No surface is more than 32767 pixels high, so a font whose em is larger
// cannot draw a line into any; FreeType refuses such sizes from 65536
// pixels on, with a warning on stderr. Larger requests are drawn at this
// size, which gives the same result: a text too high for a layer.
inline constexpr int kMaxFontPixels = 32767;
inline constexpr int kMaxFontPoints =
    static_cast<int>(kMaxFontPixels * kPointsPerInch / kFontDotsPerInch);

struct FontRequest {
    std::string family;
    int points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// A loaded font; empty when it did not load.
struct Font {
    FontDescription description;
    bool underline = false;
    bool strikeOut = false;

    explicit operator bool() const { return description != nullptr; }
};

// Whether fontconfig resolves the family to a font of that family or to a
// substitute the font configuration declares for it; a name that only
// reaches the generic fallback does not resolve.
bool FontFamilyResolves(const std::string& family);

// Loads when the family resolves and the size is a positive number of
// points; sizes above kMaxFontPoints are capped.
Font LoadFont(const FontRequest& request);

}  // namespace tarvik
