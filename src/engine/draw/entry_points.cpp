#include "engine/draw/entry_points.h"

#include "engine/frame.h"
#include "engine/watermark.h"

namespace tarvik {
namespace {

FIBITMAP* ModuleDrawFrame(FIBITMAP* bitmap, int width, int height) {
    return DrawFrame(Bitmap(bitmap), width, height).release();
}

FIBITMAP* ModuleDrawWatermark(FIBITMAP* bitmap, int width, int height) {
    return DrawWatermark(Bitmap(bitmap), width, height).release();
}

const DrawingEntryPoints kEntryPoints = {
    kDrawingInterfaceVersion, ModuleDrawFrame,    ModuleDrawWatermark,
    OpenWatermarkFont,        CloseWatermarkFont, WatermarkFontOpen,
};

}  // namespace
}  // namespace tarvik

extern "C" const tarvik::DrawingEntryPoints* tarvik_drawing_entry_points() {
    return &tarvik::kEntryPoints;
}
