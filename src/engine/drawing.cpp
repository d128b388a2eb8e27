#include "engine/drawing.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <string>

#include "core/job.h"
#include "core/program_files.h"
#include "core/setting_values.h"
#include "core/settings.h"
#include "engine/conversion.h"
#include "engine/draw/module.h"
#include "engine/naming.h"

// Present when the drawing code is linked into the process itself (the
// test programs); the program proper finds it in the module.
extern "C" const tarvik::DrawingModule* tarvik_drawing_module() __attribute__((weak));

namespace tarvik {
namespace {

const DrawingModule* FromModule() {
    // The module stays loaded for the life of the process: the font
    // libraries it pulls in do not support being unloaded.
    const std::string path = DrawingModulePathOf(ExecutableFolder());
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return nullptr;
    }
    using Getter = const DrawingModule* (*)();
    const auto get = reinterpret_cast<Getter>(dlsym(handle, kDrawingModuleSymbol));
    const DrawingModule* module = get != nullptr ? get() : nullptr;
    return module != nullptr && module->version == kDrawingModuleVersion ? module : nullptr;
}

std::once_flag g_loadOnce;
std::atomic<const DrawingModule*> g_drawing{nullptr};

const DrawingModule* Drawing() {
    std::call_once(g_loadOnce, [] {
        g_drawing = tarvik_drawing_module != nullptr ? tarvik_drawing_module() : FromModule();
    });
    return g_drawing;
}

// For questions that must not load the module: no font is open until it
// is loaded.
const DrawingModule* DrawingIfLoaded() {
    return g_drawing;
}

// The bands a frame boundary keeps a watermark inside.
FrameWidths CurrentFrameBands() {
    const auto& f = Settings.Frame;
    if (ValueOf<FrameType>(f.DoFrame) == FrameType::None) {
        return {};
    }
    return {f.SolidLeft, f.SolidRight, f.SolidTop, f.SolidBottom};
}

}  // namespace

Bitmap FrameStep(Bitmap bitmap, int width, int height) {
    if (!bitmap || ValueOf<FrameType>(Settings.Frame.DoFrame) == FrameType::None) {
        return bitmap;
    }
    const DrawingModule* drawing = Drawing();
    if (drawing == nullptr) {
        return {};
    }
    return Bitmap(drawing->drawFrame(bitmap.release(), width, height, Settings.Frame));
}

Bitmap WatermarkStep(Bitmap bitmap, int width, int height) {
    if (!bitmap || ValueOf<WatermarkType>(Settings.Watermark.DoWatermark) == WatermarkType::None) {
        return bitmap;
    }
    const DrawingModule* drawing = Drawing();
    if (drawing == nullptr) {
        return {};
    }
    const std::string text = ExpandWatermarkText();
    return Bitmap(drawing->drawWatermark(bitmap.release(), width, height, Settings.Watermark, text,
                                         CurrentFrameBands()));
}

bool LoadWatermarkFont() {
    const DrawingModule* drawing = Drawing();
    return drawing != nullptr && drawing->openFont(Settings.Watermark);
}

void ReleaseWatermarkFont() {
    if (const DrawingModule* drawing = DrawingIfLoaded()) {
        drawing->closeFont();
    }
}

bool WatermarkFontLoaded() {
    const DrawingModule* drawing = DrawingIfLoaded();
    return drawing != nullptr && drawing->fontOpen();
}

bool DrawingAvailable() {
    return Drawing() != nullptr;
}

}  // namespace tarvik
