// The drawing module's interface to its host. Frame, watermark and fonts
// live in a module of their own so that a conversion without them never
// loads Cairo, Pango and fontconfig. The module is self-contained: every
// input comes as an argument (it never reads the host's records), and its
// one exported symbol returns this table. Bitmaps cross as raw handles: the
// module takes the one it is given and returns the one to go on with.
#pragma once

#include <FreeImage.h>

#include <string_view>

#include "core/settings.h"

namespace tarvik {

// The band widths of a solid frame; all 0 where there is none.
struct FrameWidths {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

struct DrawingModule {
    int version;
    FIBITMAP* (*drawFrame)(FIBITMAP* bitmap, int width, int height, const FrameSettings& frame);
    // text is the watermark text with its tokens expanded; frame the bands
    // a frame boundary keeps the watermark inside.
    FIBITMAP* (*drawWatermark)(FIBITMAP* bitmap, int width, int height,
                               const WatermarkSettings& watermark, std::string_view text,
                               const FrameWidths& frame);
    bool (*openFont)(const WatermarkSettings& watermark);
    void (*closeFont)();
    bool (*fontOpen)();
};

// Raised whenever the table or an argument changes shape.
inline constexpr int kDrawingModuleVersion = 2;
inline constexpr const char* kDrawingModuleSymbol = "tarvik_drawing_module";

}  // namespace tarvik

extern "C" const tarvik::DrawingModule* tarvik_drawing_module();
