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
// points.
Font LoadFont(const FontRequest& request);

}  // namespace tarvik
