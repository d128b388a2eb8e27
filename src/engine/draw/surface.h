// The drawing layer's 32-bit RGBA surfaces: creating, filling, drawing one
// onto another, loading a picture file into one, and handing one to
// FreeImage. Colours are RGBA values as ParseColorAlpha gives them: red in
// bits 0-7, green 8-15, blue 16-23, alpha 24-31 (straight, not premultiplied).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/bitmap.h"

typedef struct _cairo_surface cairo_surface_t;

namespace tarvik {

using Rgba = std::uint32_t;

// The alpha of a fully opaque colour, and the full constant alpha.
inline constexpr int kOpaqueAlpha = 255;

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const noexcept;
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct PointF {
    double x = 0;
    double y = 0;
};

// The longest side of a surface the drawing layer can create.
inline constexpr int kMaxSurfaceSide = 32767;

// Whether a surface of this size is within the drawing layer's and the
// decoder's limits (memory permitting).
bool SurfaceSizeFits(int width, int height);
// A fully transparent surface; empty when a side is not positive or the
// surface cannot be created.
Surface CreateSurface(int width, int height);
// Replaces the surface by a transparent one of the new size.
bool ResizeSurface(Surface& surface, int width, int height);
int SurfaceWidth(const Surface& surface);
int SurfaceHeight(const Surface& surface);
// The straight RGBA value of one pixel; 0 outside the surface.
Rgba SurfacePixel(const Surface& surface, int x, int y);

// Every pixel becomes the colour, all four channels written.
bool FillSurface(Surface& surface, Rgba color);
// Anti-aliased fills, blended over what is there.
bool FillRectangle(Surface& surface, double x, double y, double width, double height, Rgba color);
bool FillPolygon(Surface& surface, std::span<const PointF> points, Rgba color);

// Blends source over target at (x, y), every source alpha scaled by
// alpha / 255.
bool DrawSurface(Surface& target, const Surface& source, int x, int y, int alpha);
// Writes the source's pixels into target unchanged.
bool CopySurface(Surface& target, const Surface& source, int x, int y);
// Writes all four channels: the covered target pixels become the source's
// with their alpha scaled by alpha / 255.
bool CopySurfaceWithAlpha(Surface& target, const Surface& source, int x, int y, int alpha);

// A per-pixel filter on straight colours.
using PixelFilter = Rgba (*)(Rgba);
// Grey g = (r * 77 + g * 150 + b * 29) >> 8 in all three colours, alpha kept.
Rgba GreyFilter(Rgba color);
// Writes filter(source pixel) into the covered target pixels.
bool DrawSurfaceFiltered(Surface& target, const Surface& source, int x, int y, PixelFilter filter);

// A picture file read by FreeImage (PNG with alpha, BMP, JPEG ...) and the
// bits per pixel it had in the file.
struct LoadedImage {
    Surface surface;
    unsigned bpp = 0;
};
LoadedImage LoadImageSurface(const std::string& path);

// Blends the surface over the pixels of a 24-bit bitmap whose top-left
// corner it covers at (x, y), in place and as FreeImage_Composite blends a
// 32-bit layer over a background: alpha 0 keeps the picture, 255 replaces
// it, any other a gives (a * layer + (255 - a) * picture) >> 8. False when
// the bitmap is not 24-bit or the surface does not fit inside it.
bool BlendOverBitmap(FIBITMAP* image, int x, int y, const Surface& layer);

Surface BitmapToSurface(FIBITMAP* bitmap);
// A 32-bit FreeImage bitmap with straight alpha; empty on failure.
Bitmap SurfaceToBitmap(const Surface& surface);

}  // namespace tarvik
