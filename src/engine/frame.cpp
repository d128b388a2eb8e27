#include "engine/frame.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/color_text.h"
#include "core/setting_values.h"
#include "engine/draw/surface.h"

namespace tarvik {
namespace {

// The drawing layer keeps coordinates in 24.8 fixed point (about 8 million
// pixels either way), so geometry reaching further than this margin around
// the image is clipped first, in double precision: inside the image the
// shapes stay exactly as described, whatever the band widths.
constexpr double kClipMargin = 1 << 20;

using Polygon = std::vector<PointF>;

// A rectangle of image pixels, y counted from the top.
struct Region {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

// The frame's geometry in image coordinates, widths in 64 bits so that no
// value of the settings can overflow.
struct Geometry {
    double w = 0, h = 0;
    double l = 0, r = 0, t = 0, b = 0;
    std::array<Rgba, 4> colors{};  // top, right, bottom, left
};

// One half-plane step of polygon clipping; the winding of every point
// inside the half-plane is kept, so the fill rule gives the same area.
template <class Inside, class Cut>
Polygon ClipPolygon(const Polygon& in, Inside inside, Cut cut) {
    Polygon out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const PointF& prev = in[(i + in.size() - 1) % in.size()];
        const PointF& cur = in[i];
        if (inside(cur)) {
            if (!inside(prev)) {
                out.push_back(cut(prev, cur));
            }
            out.push_back(cur);
        } else if (inside(prev)) {
            out.push_back(cut(prev, cur));
        }
    }
    return out;
}

PointF AtX(const PointF& a, const PointF& b, double x) {
    return {x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
}

PointF AtY(const PointF& a, const PointF& b, double y) {
    return {a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
}

// The polygon inside the margin box around the image; unchanged when it
// lies within it already.
Polygon ClipToMargin(Polygon p, const Geometry& g) {
    const double x0 = -kClipMargin, y0 = -kClipMargin;
    const double x1 = g.w + kClipMargin, y1 = g.h + kClipMargin;
    p = ClipPolygon(
        p, [x0](PointF q) { return q.x >= x0; },
        [x0](PointF a, PointF b) { return AtX(a, b, x0); });
    p = ClipPolygon(
        p, [x1](PointF q) { return q.x <= x1; },
        [x1](PointF a, PointF b) { return AtX(a, b, x1); });
    p = ClipPolygon(
        p, [y0](PointF q) { return q.y >= y0; },
        [y0](PointF a, PointF b) { return AtY(a, b, y0); });
    return ClipPolygon(
        p, [y1](PointF q) { return q.y <= y1; },
        [y1](PointF a, PointF b) { return AtY(a, b, y1); });
}

double Clamp(double v, double lo, double hi) {
    return std::min(std::max(v, lo), hi);
}

// A rectangle given by a corner and a signed size, cut to the margin box
// and shifted to the region's origin.
void FillRect(Surface& layer, const Region& at, const Geometry& g, double x, double y, double w,
              double h, Rgba color) {
    const double xa = Clamp(std::min(x, x + w), -kClipMargin, g.w + kClipMargin);
    const double xb = Clamp(std::max(x, x + w), -kClipMargin, g.w + kClipMargin);
    const double ya = Clamp(std::min(y, y + h), -kClipMargin, g.h + kClipMargin);
    const double yb = Clamp(std::max(y, y + h), -kClipMargin, g.h + kClipMargin);
    // The corner and size the rectangle was given keep their sign, as the
    // drawing layer fills either way.
    const double sx = w < 0 ? xb : xa, sy = h < 0 ? yb : ya;
    FillRectangle(layer, sx - static_cast<double>(at.x), sy - static_cast<double>(at.y),
                  w < 0 ? xa - xb : xb - xa, h < 0 ? ya - yb : yb - ya, color);
}

void FillBand(Surface& layer, const Region& at, const Geometry& g, const Polygon& band,
              Rgba color) {
    Polygon shifted = ClipToMargin(band, g);
    for (PointF& p : shifted) {
        p.x -= static_cast<double>(at.x);
        p.y -= static_cast<double>(at.y);
    }
    if (!shifted.empty()) {
        FillPolygon(layer, shifted, color);
    }
}

// Paints the whole frame as the region of the layer at `at` sees it: the
// corner rectangles first, so the anti-aliased diagonals of the bands
// never let the picture show through, then four mitred bands, each corner
// square split along its diagonal.
void PaintFrame(Surface& layer, const Region& at, const Geometry& g) {
    const auto& [cT, cR, cB, cL] = g.colors;
    const double w = g.w, h = g.h, l = g.l, r = g.r, t = g.t, b = g.b;
    FillRect(layer, at, g, 0, 0, l, t, cT);
    FillRect(layer, at, g, w - r, 0, r, t, cR);
    FillRect(layer, at, g, w - r, h - b, r, b, cB);
    FillRect(layer, at, g, 0, h - b, l, b, cL);
    FillBand(layer, at, g, {{0, 0}, {w, 0}, {w - r, t}, {l, t}}, cT);
    FillBand(layer, at, g, {{w, 0}, {w, h}, {w - r, h - b}, {w - r, t}}, cR);
    FillBand(layer, at, g, {{w, h}, {0, h}, {l, h - b}, {w - r, h - b}}, cB);
    FillBand(layer, at, g, {{0, h}, {0, 0}, {l, t}, {l, h - b}}, cL);
}

Geometry GeometryOf(int width, int height, const FrameSettings& s) {
    Geometry g;
    g.w = width;
    g.h = height;
    g.l = s.SolidLeft;
    g.r = s.SolidRight;
    g.t = s.SolidTop;
    g.b = s.SolidBottom;
    g.colors = {ParseColorAlpha(s.SolidTopColor, kOpaqueAlpha),
                ParseColorAlpha(s.SolidRightColor, kOpaqueAlpha),
                ParseColorAlpha(s.SolidBottomColor, kOpaqueAlpha),
                ParseColorAlpha(s.SolidLeftColor, kOpaqueAlpha)};
    return g;
}

// Every shape of the frame lies within the bands' reach from the edges,
// so only these four strips (the corners in the top and bottom ones) can
// change: the rest of the layer is transparent and blends to the picture.
std::array<Region, 4> BandRegions(std::int64_t w, std::int64_t h, const FrameSettings& s) {
    const std::int64_t t = std::clamp<std::int64_t>(s.SolidTop, 0, h);
    const std::int64_t b = std::clamp<std::int64_t>(s.SolidBottom, 0, h);
    const std::int64_t l = std::clamp<std::int64_t>(s.SolidLeft, 0, w);
    const std::int64_t r = std::clamp<std::int64_t>(s.SolidRight, 0, w);
    const std::int64_t bottomTop = std::max(h - b, t);
    const std::int64_t rightLeft = std::max(w - r, l);
    return {{{0, 0, w, t},
             {0, bottomTop, w, h - bottomTop},
             {0, t, l, bottomTop - t},
             {rightLeft, t, w - rightLeft, bottomTop - t}}};
}

// Draws the region's part of the frame layer, faded by the opacity, and
// blends it over the same pixels of the image.
void BlendRegion(FIBITMAP* image, const Region& at, const Geometry& g, int opacity) {
    const int w = static_cast<int>(at.width), h = static_cast<int>(at.height);
    Surface layer = CreateSurface(w, h);
    Surface faded = CreateSurface(w, h);
    if (!layer || !faded) {
        return;
    }
    PaintFrame(layer, at, g);
    // One common opacity for the whole frame, corners included.
    DrawSurface(faded, layer, 0, 0, opacity);
    BlendOverBitmap(image, static_cast<int>(at.x), static_cast<int>(at.y), faded);
}

// The framed picture is, as a whole-image blend would make it, a new
// bitmap: the default resolution and no colour profile of the input.
void LikeANewBitmap(FIBITMAP* image) {
    const Bitmap fresh(FreeImage_Allocate(1, 1, 24));
    if (fresh) {
        FreeImage_SetDotsPerMeterX(image, FreeImage_GetDotsPerMeterX(fresh.get()));
        FreeImage_SetDotsPerMeterY(image, FreeImage_GetDotsPerMeterY(fresh.get()));
    }
    FreeImage_DestroyICCProfile(image);
}

}  // namespace

FrameWidths FrameWidthsOf(const FrameSettings& s) {
    return {s.SolidLeft, s.SolidRight, s.SolidTop, s.SolidBottom};
}

Bitmap ConvertTo24Bits(Bitmap bitmap) {
    if (!bitmap || BitmapBpp(bitmap) == 24) {
        return bitmap;
    }
    return ConvertBitmap(std::move(bitmap), FreeImage_ConvertTo24Bits);
}

Bitmap CompositeLayer(Bitmap image, FIBITMAP* layer) {
    if (!image || layer == nullptr) {
        return image;
    }
    Bitmap composite(FreeImage_Composite(layer, FALSE, nullptr, image.get()));
    return composite ? std::move(composite) : std::move(image);
}

Bitmap DrawFrame(Bitmap bitmap, int width, int height, const FrameSettings& frame) {
    const auto type = ValueOf<FrameType>(frame.DoFrame);
    if (!bitmap || type == FrameType::None) {
        return bitmap;
    }
    bitmap = ConvertTo24Bits(std::move(bitmap));
    // A size the drawing layer cannot hold as one surface gets no frame,
    // as when the layer was drawn whole.
    if (type != FrameType::Solid || !bitmap || !SurfaceSizeFits(width, height) ||
        BitmapWidth(bitmap) != static_cast<unsigned>(width) ||
        BitmapHeight(bitmap) != static_cast<unsigned>(height)) {
        return bitmap;
    }
    const Geometry geometry = GeometryOf(width, height, frame);
    for (const Region& region : BandRegions(width, height, frame)) {
        if (!region.Empty()) {
            BlendRegion(bitmap.get(), region, geometry, frame.SolidOpacity);
        }
    }
    LikeANewBitmap(bitmap.get());
    return bitmap;
}

}  // namespace tarvik
