#include "engine/drawing.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <string>

#include "core/job.h"
#include "core/settings.h"
#include "engine/draw/entry_points.h"

// Present when the drawing code is linked into the process itself (the
// test programs); the program proper finds it in the module.
extern "C" const tarvik::DrawingEntryPoints* tarvik_drawing_entry_points() __attribute__((weak));

namespace tarvik {
namespace {

const DrawingEntryPoints* FromModule() {
    // Beside the program in a build tree, in lib/tarvik/ once installed.
    const std::string folder = ExecutableFolder();
    for (const std::string& path :
         {folder + kDrawingModuleName, folder + "../lib/tarvik/" + kDrawingModuleName}) {
        // The module stays loaded for the life of the process: the font
        // libraries it pulls in do not support being unloaded.
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            continue;
        }
        using Getter = const DrawingEntryPoints* (*)();
        const auto get = reinterpret_cast<Getter>(dlsym(handle, kDrawingEntrySymbol));
        const DrawingEntryPoints* entry = get != nullptr ? get() : nullptr;
        if (entry != nullptr && entry->version == kDrawingInterfaceVersion) {
            return entry;
        }
    }
    return nullptr;
}

std::once_flag g_loadOnce;
std::atomic<const DrawingEntryPoints*> g_drawing{nullptr};

const DrawingEntryPoints* Drawing() {
    std::call_once(g_loadOnce, [] {
        g_drawing =
            tarvik_drawing_entry_points != nullptr ? tarvik_drawing_entry_points() : FromModule();
    });
    return g_drawing;
}

// For questions that must not load the module: nothing was drawn, and no
// font is open, until it is loaded.
const DrawingEntryPoints* DrawingIfLoaded() {
    return g_drawing;
}

// Without the module the step still yields what it would without a
// drawing: the image at 24 bits.
Bitmap Without(Bitmap bitmap) {
    if (BitmapBpp(bitmap) == 24) {
        return bitmap;
    }
    return ConvertBitmap(std::move(bitmap), FreeImage_ConvertTo24Bits);
}

using Step = FIBITMAP* (*)(FIBITMAP*, int, int);

Bitmap RunStep(Step DrawingEntryPoints::*step, Bitmap bitmap, int width, int height) {
    if (!bitmap) {
        return bitmap;
    }
    const DrawingEntryPoints* drawing = Drawing();
    if (drawing == nullptr) {
        return Without(std::move(bitmap));
    }
    return Bitmap((drawing->*step)(bitmap.release(), width, height));
}

}  // namespace

Bitmap FrameStep(Bitmap bitmap, int width, int height) {
    if (Settings.Frame.DoFrame == 0) {
        return bitmap;
    }
    return RunStep(&DrawingEntryPoints::drawFrame, std::move(bitmap), width, height);
}

Bitmap WatermarkStep(Bitmap bitmap, int width, int height) {
    if (Settings.Watermark.DoWatermark == 0) {
        return bitmap;
    }
    return RunStep(&DrawingEntryPoints::drawWatermark, std::move(bitmap), width, height);
}

bool LoadWatermarkFont() {
    const DrawingEntryPoints* drawing = Drawing();
    return drawing != nullptr && drawing->openFont();
}

void ReleaseWatermarkFont() {
    if (const DrawingEntryPoints* drawing = DrawingIfLoaded()) {
        drawing->closeFont();
    }
}

bool WatermarkFontLoaded() {
    const DrawingEntryPoints* drawing = DrawingIfLoaded();
    return drawing != nullptr && drawing->fontOpen();
}

bool DrawingAvailable() {
    return Drawing() != nullptr;
}

}  // namespace tarvik
