// Owning handle for a FreeImage bitmap. Every pipeline step takes the
// pipeline's only reference and returns the bitmap to go on with, so the
// ownership rule is the type: a step that makes a new bitmap lets the old
// handle die, one that works in place returns what it got.
#pragma once

#include <FreeImage.h>

#include <memory>

namespace tarvik {

struct BitmapDeleter {
    void operator()(FIBITMAP* dib) const noexcept {
        if (dib != nullptr) {
            FreeImage_Unload(dib);
        }
    }
};

using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

inline Bitmap AdoptBitmap(FIBITMAP* dib) {
    return Bitmap(dib);
}

inline unsigned BitmapBpp(const Bitmap& b) {
    return b ? FreeImage_GetBPP(b.get()) : 0;
}
inline unsigned BitmapWidth(const Bitmap& b) {
    return b ? FreeImage_GetWidth(b.get()) : 0;
}
inline unsigned BitmapHeight(const Bitmap& b) {
    return b ? FreeImage_GetHeight(b.get()) : 0;
}

// Replaces b with convert(b) when the conversion succeeds; on failure the
// result is an empty bitmap, which later steps pass along.
template <class Convert>
Bitmap ConvertBitmap(Bitmap b, Convert convert) {
    if (!b) {
        return b;
    }
    return Bitmap(convert(b.get()));
}

// Gives the bitmap the resolution FreeImage gives one it makes from scratch
// (72 dpi), as a composite of a layer over the image has: the frame and the
// watermark steps write that resolution.
inline void UseNewBitmapResolution(FIBITMAP* dib) {
    const Bitmap fresh(FreeImage_Allocate(1, 1, 24));
    if (dib != nullptr && fresh) {
        FreeImage_SetDotsPerMeterX(dib, FreeImage_GetDotsPerMeterX(fresh.get()));
        FreeImage_SetDotsPerMeterY(dib, FreeImage_GetDotsPerMeterY(fresh.get()));
    }
}

// FreeImage memory stream.
struct MemoryDeleter {
    void operator()(FIMEMORY* m) const noexcept {
        if (m != nullptr) {
            FreeImage_CloseMemory(m);
        }
    }
};
using MemoryStream = std::unique_ptr<FIMEMORY, MemoryDeleter>;

}  // namespace tarvik
