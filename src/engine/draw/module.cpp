#include "engine/draw/module.h"

#include "engine/frame.h"
#include "engine/watermark.h"

namespace tarvik {
namespace {

FIBITMAP* ModuleDrawFrame(FIBITMAP* bitmap, int width, int height, const FrameSettings& frame) {
    return DrawFrame(Bitmap(bitmap), width, height, frame).release();
}

FIBITMAP* ModuleDrawWatermark(FIBITMAP* bitmap, int width, int height,
                              const WatermarkSettings& watermark, std::string_view text,
                              const FrameWidths& frame) {
    return DrawWatermark(Bitmap(bitmap), width, height, watermark, text, frame).release();
}

const DrawingModule kModule = {
    kDrawingModuleVersion, ModuleDrawFrame,    ModuleDrawWatermark,
    OpenWatermarkFont,     CloseWatermarkFont, WatermarkFontOpen,
};

}  // namespace
}  // namespace tarvik

extern "C" const tarvik::DrawingModule* tarvik_drawing_module() {
    return &tarvik::kModule;
}
