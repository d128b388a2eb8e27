#include "engine/draw/surface.h"

#include <algorithm>

#include "engine/draw/cairo_handles.h"
#include "engine/limits.h"

namespace tarvik {
namespace {

constexpr double kChannelMax = 255.0;

int Red(Rgba c) {
    return static_cast<int>(c & 0xFF);
}
int Green(Rgba c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
int Blue(Rgba c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
int Alpha(Rgba c) {
    return static_cast<int>(c >> 24);
}

Rgba MakeRgba(int r, int g, int b, int a) {
    return static_cast<Rgba>(r) | static_cast<Rgba>(g) << 8 | static_cast<Rgba>(b) << 16 |
           static_cast<Rgba>(a) << 24;
}

// Cairo keeps native-endian premultiplied ARGB words.
std::uint32_t Premultiply(Rgba c) {
    const int a = Alpha(c);
    auto scale = [a](int v) { return static_cast<std::uint32_t>((v * a + 127) / 255); };
    return static_cast<std::uint32_t>(a) << 24 | scale(Red(c)) << 16 | scale(Green(c)) << 8 |
           scale(Blue(c));
}

Rgba Unpremultiply(std::uint32_t word) {
    const int a = static_cast<int>(word >> 24);
    if (a == 0) {
        return 0;
    }
    auto unscale = [a](std::uint32_t v) {
        return std::min(255, (static_cast<int>(v & 0xFF) * 255 + a / 2) / a);
    };
    return MakeRgba(unscale(word >> 16), unscale(word >> 8), unscale(word), a);
}

std::uint32_t* Row(cairo_surface_t* surface, int y) {
    unsigned char* data = cairo_image_surface_get_data(surface);
    return reinterpret_cast<std::uint32_t*>(data + y * cairo_image_surface_get_stride(surface));
}

double Channel(int value) {
    return value / kChannelMax;
}

// The target rectangle a source placed at (x, y) covers, clipped to the
// target; empty when they do not meet.
struct Span2D {
    int x0, y0, x1, y1;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Span2D Covered(const Surface& target, const Surface& source, int x, int y) {
    return {std::max(0, x), std::max(0, y),
            std::min(SurfaceWidth(target), x + SurfaceWidth(source)),
            std::min(SurfaceHeight(target), y + SurfaceHeight(source))};
}

// Paints the source at (x, y) with its alpha scaled; replace clears the
// covered pixels first, so all four channels are written.
bool PaintSource(Surface& target, const Surface& source, int x, int y, int alpha, bool replace) {
    CairoContext cr = StartDrawing(target);
    if (!cr || !source) {
        return false;
    }
    cairo_rectangle(cr.get(), x, y, SurfaceWidth(source), SurfaceHeight(source));
    cairo_clip(cr.get());
    if (replace) {
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr.get());
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
    }
    cairo_set_source_surface(cr.get(), source.get(), x, y);
    cairo_paint_with_alpha(cr.get(), Channel(std::clamp(alpha, 0, kOpaqueAlpha)));
    return DrawingSucceeded(cr);
}

}  // namespace

void SurfaceDeleter::operator()(cairo_surface_t* surface) const noexcept {
    cairo_surface_destroy(surface);
}

CairoContext StartDrawing(const Surface& surface) {
    if (!surface) {
        return {};
    }
    CairoContext cr(cairo_create(surface.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
        return {};
    }
    return cr;
}

bool DrawingSucceeded(const CairoContext& cr) {
    return cr && cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

void SetSourceColor(cairo_t* cr, Rgba color) {
    cairo_set_source_rgba(cr, Channel(Red(color)), Channel(Green(color)), Channel(Blue(color)),
                          Channel(Alpha(color)));
}

bool SurfaceSizeFits(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
           FitsDecodeLimit(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
}

Surface CreateSurface(int width, int height) {
    if (!SurfaceSizeFits(width, height)) {
        return {};
    }
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return {};
    }
    return surface;
}

bool ResizeSurface(Surface& surface, int width, int height) {
    surface = CreateSurface(width, height);
    return surface != nullptr;
}

int SurfaceWidth(const Surface& surface) {
    return surface ? cairo_image_surface_get_width(surface.get()) : 0;
}

int SurfaceHeight(const Surface& surface) {
    return surface ? cairo_image_surface_get_height(surface.get()) : 0;
}

Rgba SurfacePixel(const Surface& surface, int x, int y) {
    if (x < 0 || y < 0 || x >= SurfaceWidth(surface) || y >= SurfaceHeight(surface)) {
        return 0;
    }
    cairo_surface_flush(surface.get());
    return Unpremultiply(Row(surface.get(), y)[x]);
}

bool FillSurface(Surface& surface, Rgba color) {
    CairoContext cr = StartDrawing(surface);
    if (!cr) {
        return false;
    }
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    SetSourceColor(cr.get(), color);
    cairo_paint(cr.get());
    return DrawingSucceeded(cr);
}

bool FillRectangle(Surface& surface, double x, double y, double width, double height, Rgba color) {
    CairoContext cr = StartDrawing(surface);
    if (!cr) {
        return false;
    }
    SetSourceColor(cr.get(), color);
    cairo_rectangle(cr.get(), x, y, width, height);
    cairo_fill(cr.get());
    return DrawingSucceeded(cr);
}

bool FillPolygon(Surface& surface, std::span<const PointF> points, Rgba color) {
    CairoContext cr = StartDrawing(surface);
    if (!cr) {
        return false;
    }
    SetSourceColor(cr.get(), color);
    for (const PointF& p : points) {
        cairo_line_to(cr.get(), p.x, p.y);
    }
    cairo_close_path(cr.get());
    cairo_fill(cr.get());
    return DrawingSucceeded(cr);
}

bool DrawSurface(Surface& target, const Surface& source, int x, int y, int alpha) {
    return PaintSource(target, source, x, y, alpha, false);
}

bool CopySurface(Surface& target, const Surface& source, int x, int y) {
    return PaintSource(target, source, x, y, kOpaqueAlpha, true);
}

bool CopySurfaceWithAlpha(Surface& target, const Surface& source, int x, int y, int alpha) {
    return PaintSource(target, source, x, y, alpha, true);
}

Rgba GreyFilter(Rgba color) {
    const int grey = (Red(color) * 77 + Green(color) * 150 + Blue(color) * 29) >> 8;
    return MakeRgba(grey, grey, grey, Alpha(color));
}

bool DrawSurfaceFiltered(Surface& target, const Surface& source, int x, int y, PixelFilter filter) {
    if (!target || !source || filter == nullptr) {
        return false;
    }
    const Span2D area = Covered(target, source, x, y);
    cairo_surface_flush(target.get());
    cairo_surface_flush(source.get());
    for (int ty = area.y0; ty < area.y1; ++ty) {
        std::uint32_t* out = Row(target.get(), ty);
        const std::uint32_t* in = Row(source.get(), ty - y);
        for (int tx = area.x0; tx < area.x1; ++tx) {
            out[tx] = Premultiply(filter(Unpremultiply(in[tx - x])));
        }
    }
    cairo_surface_mark_dirty(target.get());
    return true;
}

namespace {

// One channel as FreeImage_Composite mixes it.
BYTE Mix(int alpha, int over, int under) {
    return static_cast<BYTE>((alpha * over + (255 - alpha) * under) >> 8);
}

void BlendRow(const std::uint32_t* in, BYTE* out, int width) {
    // Runs of one colour are common (the inside of a band): unpremultiply
    // each word once.
    std::uint32_t lastWord = 0;
    Rgba last = 0;
    for (int i = 0; i < width; ++i, out += 3) {
        if (in[i] != lastWord || i == 0) {
            lastWord = in[i];
            last = Unpremultiply(lastWord);
        }
        const int a = Alpha(last);
        if (a == 0) {
            continue;
        }
        if (a == kOpaqueAlpha) {
            out[FI_RGBA_RED] = static_cast<BYTE>(Red(last));
            out[FI_RGBA_GREEN] = static_cast<BYTE>(Green(last));
            out[FI_RGBA_BLUE] = static_cast<BYTE>(Blue(last));
            continue;
        }
        out[FI_RGBA_RED] = Mix(a, Red(last), out[FI_RGBA_RED]);
        out[FI_RGBA_GREEN] = Mix(a, Green(last), out[FI_RGBA_GREEN]);
        out[FI_RGBA_BLUE] = Mix(a, Blue(last), out[FI_RGBA_BLUE]);
    }
}

}  // namespace

bool BlendOverBitmap(FIBITMAP* image, int x, int y, const Surface& layer) {
    const int width = SurfaceWidth(layer);
    const int height = SurfaceHeight(layer);
    if (image == nullptr || FreeImage_GetBPP(image) != 24 || width == 0 || x < 0 || y < 0 ||
        x + width > static_cast<int>(FreeImage_GetWidth(image)) ||
        y + height > static_cast<int>(FreeImage_GetHeight(image))) {
        return false;
    }
    const int imageHeight = static_cast<int>(FreeImage_GetHeight(image));
    cairo_surface_flush(layer.get());
    for (int row = 0; row < height; ++row) {
        // FreeImage keeps its rows bottom-up.
        BYTE* out = FreeImage_GetScanLine(image, imageHeight - 1 - (y + row)) + 3 * x;
        BlendRow(Row(layer.get(), row), out, width);
    }
    return true;
}

Surface BitmapToSurface(FIBITMAP* bitmap) {
    if (bitmap == nullptr) {
        return {};
    }
    Bitmap converted(FreeImage_ConvertTo32Bits(bitmap));
    const int width = static_cast<int>(BitmapWidth(converted));
    const int height = static_cast<int>(BitmapHeight(converted));
    Surface surface = CreateSurface(width, height);
    if (!surface) {
        return {};
    }
    for (int y = 0; y < height; ++y) {
        // FreeImage keeps its rows bottom-up.
        const BYTE* in = FreeImage_GetScanLine(converted.get(), height - 1 - y);
        std::uint32_t* out = Row(surface.get(), y);
        for (int x = 0; x < width; ++x, in += 4) {
            out[x] = Premultiply(
                MakeRgba(in[FI_RGBA_RED], in[FI_RGBA_GREEN], in[FI_RGBA_BLUE], in[FI_RGBA_ALPHA]));
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

Bitmap SurfaceToBitmap(const Surface& surface) {
    const int width = SurfaceWidth(surface);
    const int height = SurfaceHeight(surface);
    if (width == 0 || height == 0) {
        return {};
    }
    Bitmap bitmap(FreeImage_Allocate(width, height, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                     FI_RGBA_BLUE_MASK));
    if (!bitmap) {
        return {};
    }
    cairo_surface_flush(surface.get());
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* in = Row(surface.get(), y);
        BYTE* out = FreeImage_GetScanLine(bitmap.get(), height - 1 - y);
        for (int x = 0; x < width; ++x, out += 4) {
            const Rgba c = Unpremultiply(in[x]);
            out[FI_RGBA_RED] = static_cast<BYTE>(Red(c));
            out[FI_RGBA_GREEN] = static_cast<BYTE>(Green(c));
            out[FI_RGBA_BLUE] = static_cast<BYTE>(Blue(c));
            out[FI_RGBA_ALPHA] = static_cast<BYTE>(Alpha(c));
        }
    }
    return bitmap;
}

LoadedImage LoadImageSurface(const std::string& path) {
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) {
        format = FreeImage_GetFIFFromFilename(path.c_str());
    }
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
        return {};
    }
    if (FreeImage_FIFSupportsNoPixels(format)) {
        // The declared size is checked before anything is decoded.
        Bitmap header(FreeImage_Load(format, path.c_str(), FIF_LOAD_NOPIXELS));
        if (!FitsDecodeLimit(BitmapWidth(header), BitmapHeight(header))) {
            return {};
        }
    }
    Bitmap bitmap(FreeImage_Load(format, path.c_str(), 0));
    if (!bitmap) {
        return {};
    }
    return {BitmapToSurface(bitmap.get()), BitmapBpp(bitmap)};
}

}  // namespace tarvik
