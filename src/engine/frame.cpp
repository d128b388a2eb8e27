#include "engine/frame.h"

#include <array>

#include "core/color_text.h"
#include "core/setting_values.h"
#include "engine/draw/surface.h"

namespace tarvik {
namespace {

// The corner rectangles first, so the anti-aliased diagonals of the bands
// never let the picture show through.
void PaintCorners(Surface& layer, int w, int h, const FrameWidths& f,
                  const std::array<Rgba, 4>& colors) {
    const auto& [cT, cR, cB, cL] = colors;
    FillRectangle(layer, 0, 0, f.left, f.top, cT);
    FillRectangle(layer, w - f.right, 0, f.right, f.top, cR);
    FillRectangle(layer, w - f.right, h - f.bottom, f.right, f.bottom, cB);
    FillRectangle(layer, 0, h - f.bottom, f.left, f.bottom, cL);
}

// Four mitred bands: each corner square is split along its diagonal.
void PaintBands(Surface& layer, double w, double h, const FrameWidths& f,
                const std::array<Rgba, 4>& colors) {
    const auto& [cT, cR, cB, cL] = colors;
    const double l = f.left, r = f.right, t = f.top, b = f.bottom;
    const std::array<PointF, 4> top{{{0, 0}, {w, 0}, {w - r, t}, {l, t}}};
    const std::array<PointF, 4> right{{{w, 0}, {w, h}, {w - r, h - b}, {w - r, t}}};
    const std::array<PointF, 4> bottom{{{w, h}, {0, h}, {l, h - b}, {w - r, h - b}}};
    const std::array<PointF, 4> left{{{0, h}, {0, 0}, {l, t}, {l, h - b}}};
    FillPolygon(layer, top, cT);
    FillPolygon(layer, right, cR);
    FillPolygon(layer, bottom, cB);
    FillPolygon(layer, left, cL);
}

void PaintFrame(Surface& layer, int w, int h, const FrameSettings& s) {
    const std::array<Rgba, 4> colors{ParseColorAlpha(s.SolidTopColor, kOpaqueAlpha),
                                     ParseColorAlpha(s.SolidRightColor, kOpaqueAlpha),
                                     ParseColorAlpha(s.SolidBottomColor, kOpaqueAlpha),
                                     ParseColorAlpha(s.SolidLeftColor, kOpaqueAlpha)};
    const FrameWidths widths = FrameWidthsOf(s);
    PaintCorners(layer, w, h, widths, colors);
    PaintBands(layer, w, h, widths, colors);
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
    if (type != FrameType::Solid) {
        return bitmap;
    }
    Surface layer = CreateSurface(width, height);
    Surface faded = CreateSurface(width, height);
    if (!layer || !faded) {
        return bitmap;
    }
    PaintFrame(layer, width, height, frame);
    // One common opacity for the whole frame, corners included.
    DrawSurface(faded, layer, 0, 0, frame.SolidOpacity);
    const Bitmap bands = SurfaceToBitmap(faded);
    return CompositeLayer(std::move(bitmap), bands.get());
}

}  // namespace tarvik
