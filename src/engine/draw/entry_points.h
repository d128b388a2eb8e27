// The drawing module's interface to its host. Frame, watermark and fonts
// live in a module of their own so that a conversion without them never
// loads Cairo, Pango and fontconfig. Bitmaps cross as raw handles: the
// module takes the one it is given and returns the one to go on with.
#pragma once

#include <FreeImage.h>

namespace tarvik {

struct DrawingEntryPoints {
    int version;
    FIBITMAP* (*drawFrame)(FIBITMAP* bitmap, int width, int height);
    FIBITMAP* (*drawWatermark)(FIBITMAP* bitmap, int width, int height);
    bool (*openFont)();
    void (*closeFont)();
    bool (*fontOpen)();
};

inline constexpr int kDrawingInterfaceVersion = 1;
inline constexpr const char* kDrawingEntrySymbol = "tarvik_drawing_entry_points";
inline constexpr const char* kDrawingModuleName = "libtarvik-draw.so";

}  // namespace tarvik

extern "C" const tarvik::DrawingEntryPoints* tarvik_drawing_entry_points();
