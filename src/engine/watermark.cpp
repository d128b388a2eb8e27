#include "engine/watermark.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/color_text.h"
#include "core/setting_values.h"
#include "core/text.h"
#include "engine/draw/font.h"
#include "engine/draw/surface.h"
#include "engine/draw/text.h"
#include "engine/frame.h"
#include "engine/limits.h"

namespace tarvik {
namespace {

constexpr int kMeasureSide = 10;
// Several lines never make a box narrower or a line lower than this.
constexpr int kMinLineBox = 10;
constexpr Rgba kOpaqueBlack = 0xFF000000u;
constexpr int kFirstRotation = 1;
constexpr int kLastRotation = 359;
// FreeImage_Paste blends at 0..255 and refuses a layer that does not fit.
constexpr int kPasteAlpha = 255;
// FreeImage copies without blending for any alpha above 255.
constexpr int kPasteCopy = 256;
constexpr std::string_view kLineBreak = "%eol%";

Font g_font;

// The geometry is done in 64 bits: settings may hold any int, and their
// sums and products must not wrap. Sizes that reach a surface or FreeImage
// are checked against the decode limit first, which also keeps them in int.
using Length = std::int64_t;

// A drawing position far outside any surface draws nothing either way.
int ToDrawCoordinate(Length v) {
    constexpr Length kFar = Length{1} << 30;
    return static_cast<int>(std::clamp(v, -kFar, kFar));
}

bool FitsLayer(Length width, Length height) {
    return width > 0 && height > 0 && width <= std::numeric_limits<std::uint32_t>::max() &&
           height <= std::numeric_limits<std::uint32_t>::max() &&
           FitsDecodeLimit(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
}

// The text box: its size with padding, and where each line goes.
struct TextBox {
    Length width = 0;
    Length height = 0;
    Length advance = 0;
    std::vector<int> lineWidths;
};

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at = FindNoCase(text, kLineBreak); at != std::string::npos;
         at = FindNoCase(text, kLineBreak, from)) {
        lines.emplace_back(text.substr(from, at - from));
        from = at + kLineBreak.size();
    }
    lines.emplace_back(text.substr(from));
    return lines;
}

TextBox MeasureBox(const Surface& measure, const std::vector<std::string>& lines,
                   const WatermarkSettings& w) {
    const bool antialias = w.TextAntialiasing != 0;
    TextBox box;
    Length lineHeight = 0;
    for (const std::string& line : lines) {
        const TextSize size = MeasureText(measure, g_font, line, antialias);
        box.lineWidths.push_back(size.width);
        box.width = std::max<Length>(box.width, size.width);
        lineHeight = std::max<Length>(lineHeight, size.height);
    }
    if (lines.size() > 1) {
        box.width = std::max<Length>(box.width, kMinLineBox);
        lineHeight = std::max<Length>(lineHeight, kMinLineBox);
    }
    const auto lineCount = static_cast<Length>(lines.size());
    const Length padding = w.TextPadding;
    box.advance = lineHeight + w.FontLeading;
    box.height = lineHeight + box.advance * (lineCount - 1) + 2 * padding;
    box.width += 2 * padding;
    return box;
}

Length LineX(const TextBox& box, int lineWidth, const WatermarkSettings& w) {
    const Length padding = w.TextPadding;
    if (box.lineWidths.size() == 1) {
        return padding;
    }
    switch (ValueOf<TextAlignment>(w.TextAlignment)) {
        case TextAlignment::Left:
            return padding;
        case TextAlignment::Center:
            return std::llround(static_cast<double>(box.width - lineWidth) / 2.0);
        case TextAlignment::Right:
            return box.width - lineWidth - padding;
    }
    return 0;
}

Length LineY(const TextBox& box, std::size_t index, const WatermarkSettings& w) {
    return w.TextPadding + box.advance * static_cast<Length>(index);
}

// Without anti-aliasing every pixel of the box is one of the two colours,
// each with its own opacity.
Surface RenderPlainText(Surface box, const TextBox& layout, const std::vector<std::string>& lines,
                        const WatermarkSettings& w) {
    const Rgba text = ParseColorAlpha(w.FontColor, w.TextOpacity);
    const Rgba back = ParseColorAlpha(w.BackColor, w.BackOpacity);
    FillSurface(box, back);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        DrawTextOnBackground(box, g_font, lines[i],
                             ToDrawCoordinate(LineX(layout, layout.lineWidths[i], w)),
                             ToDrawCoordinate(LineY(layout, i, w)), text, back);
    }
    return box;
}

// With anti-aliasing the box and the glyphs are drawn opaque on their own
// surfaces and laid down with their opacities.
Surface RenderSmoothText(Surface box, const TextBox& layout, const std::vector<std::string>& lines,
                         const WatermarkSettings& w) {
    const auto width = static_cast<int>(layout.width);
    const auto height = static_cast<int>(layout.height);
    Surface background = CreateSurface(width, height);
    Surface result = CreateSurface(width, height);
    if (!background || !result) {
        return {};
    }
    FillSurface(background, ParseColorAlpha(w.BackColor, kOpaqueAlpha));
    const Rgba text = ParseColorAlpha(w.FontColor, kOpaqueAlpha);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        DrawTextAntialiased(box, g_font, lines[i],
                            ToDrawCoordinate(LineX(layout, layout.lineWidths[i], w)),
                            ToDrawCoordinate(LineY(layout, i, w)), text);
    }
    DrawSurface(result, background, 0, 0, w.BackOpacity);
    DrawSurface(result, box, 0, 0, w.TextOpacity);
    return result;
}

Bitmap BuildTextLayer(const WatermarkSettings& w, std::string_view text) {
    if (!g_font) {
        return {};
    }
    const std::vector<std::string> lines = SplitLines(text);
    Surface box = CreateSurface(kMeasureSide, kMeasureSide);
    if (!box) {
        return {};
    }
    const TextBox layout = MeasureBox(box, lines, w);
    // Checked before anything of that size is allocated.
    if (!FitsLayer(layout.width, layout.height) ||
        !ResizeSurface(box, static_cast<int>(layout.width), static_cast<int>(layout.height))) {
        return {};
    }
    Surface layer = w.TextAntialiasing != 0 ? RenderSmoothText(std::move(box), layout, lines, w)
                                            : RenderPlainText(std::move(box), layout, lines, w);
    return SurfaceToBitmap(layer);
}

// The picture keeps its own alpha when it has one; its colours, grey or
// not, replace the base with the opacity as their alpha.
Bitmap BuildImageLayer(const WatermarkSettings& w) {
    LoadedImage image = LoadImageSurface(w.Image);
    const int width = SurfaceWidth(image.surface);
    const int height = SurfaceHeight(image.surface);
    Surface layer = CreateSurface(width, height);
    if (!layer) {
        return {};
    }
    if (image.bpp != 32) {
        FillSurface(layer, kOpaqueBlack);
    }
    if (w.ImageGreyscale != 0) {
        Surface grey = CreateSurface(width, height);
        if (!grey || !DrawSurfaceFiltered(grey, image.surface, 0, 0, GreyFilter)) {
            return {};
        }
        image.surface = std::move(grey);
    }
    CopySurfaceWithAlpha(layer, image.surface, 0, 0, w.ImageOpacity);
    return SurfaceToBitmap(layer);
}

struct Placement {
    int boundary = 0;
    int position = 0;
    int offsetX = 0;
    int offsetY = 0;
    int rotation = 0;
};

Placement PlacementOf(WatermarkType type, const WatermarkSettings& w) {
    if (type == WatermarkType::Text) {
        return {w.TextBoundary, w.TextPosition, w.TextXOffset, w.TextYOffset, w.TextRotation};
    }
    return {w.ImageBoundary, w.ImagePosition, w.ImageXOffset, w.ImageYOffset, w.ImageRotation};
}

struct Area {
    Length x = 0;
    Length y = 0;
    Length width = 0;
    Length height = 0;
};

// The frame's bands are all 0 when there is no frame, so a frame boundary
// then covers the whole image.
Area PlacementArea(int boundary, int width, int height, const FrameWidths& f) {
    if (ValueOf<Boundary>(boundary) == Boundary::Frame) {
        return {f.left, f.top, Length{width} - f.left - f.right, Length{height} - f.top - f.bottom};
    }
    return {0, 0, width, height};
}

// Counter-clockwise; the layer grows and its new corners are transparent.
// A layer that would outgrow the decode limit is not turned (and not drawn).
Bitmap RotateLayer(Bitmap layer, int angle) {
    if (angle < kFirstRotation || angle > kLastRotation) {
        return layer;
    }
    if (!FitsDecodeLimitRotated(BitmapWidth(layer), BitmapHeight(layer), angle)) {
        return {};
    }
    return ConvertBitmap(std::move(layer), [angle](FIBITMAP* dib) {
        return FreeImage_Rotate(dib, static_cast<double>(angle), nullptr);
    });
}

// Keeps the top-left part that fits the area beside the offsets.
Bitmap CropLayer(Bitmap layer, const Area& area, const Placement& p) {
    Length width = BitmapWidth(layer);
    Length height = BitmapHeight(layer);
    const bool cutX = width + p.offsetX > area.width;
    const bool cutY = height + p.offsetY > area.height;
    if (!layer || (!cutX && !cutY)) {
        return layer;
    }
    width = cutX ? area.width - p.offsetX : width;
    height = cutY ? area.height - p.offsetY : height;
    // Cut, the layer only shrinks; nothing is left when the offset eats it.
    if (width <= 0 || height <= 0) {
        return {};
    }
    return ConvertBitmap(std::move(layer), [width, height](FIBITMAP* dib) {
        return FreeImage_Copy(dib, 0, 0, static_cast<int>(width), static_cast<int>(height));
    });
}

struct Point {
    Length x = 0;
    Length y = 0;
};

// Offsets move the layer in from the edges it is aligned to; a centred axis
// ignores them.
Point LayerPosition(const Area& area, Length lw, Length lh, const Placement& p) {
    const Length left = p.offsetX;
    const Length centreX = (area.width - lw) / 2;
    const Length right = area.width - lw - p.offsetX;
    const Length top = p.offsetY;
    const Length middleY = (area.height - lh) / 2;
    const Length bottom = area.height - lh - p.offsetY;
    static constexpr int kColumns = 3;
    if (p.position < Code(Position::TopLeft) || p.position > Code(Position::BottomRight)) {
        return {area.x, area.y};
    }
    const Length xs[kColumns] = {left, centreX, right};
    const Length ys[kColumns] = {top, middleY, bottom};
    return {area.x + xs[p.position % kColumns], area.y + ys[p.position / kColumns]};
}

Bitmap PlaceLayer(Bitmap image, Bitmap layer, const Placement& p, int width, int height,
                  const FrameWidths& frame) {
    layer = RotateLayer(std::move(layer), p.rotation);
    const Area area = PlacementArea(p.boundary, width, height, frame);
    layer = CropLayer(std::move(layer), area, p);
    if (!layer) {
        return image;
    }
    const Length lw = BitmapWidth(layer);
    const Length lh = BitmapHeight(layer);
    const Point point = LayerPosition(area, lw, lh, p);
    // A layer that does not fit inside the image is not pasted.
    if (point.x < 0 || point.y < 0 || point.x + lw > width || point.y + lh > height) {
        return image;
    }
    struct {
        int x, y;
    } const at{static_cast<int>(point.x), static_cast<int>(point.y)};
    // Pasting into a transparent canvas of the image's size and blending
    // that over the whole image only changes the pixels under the layer, so
    // the same is done on that region alone: far less work on a large photo.
    Bitmap canvas(FreeImage_AllocateT(FIT_BITMAP, static_cast<int>(lw), static_cast<int>(lh),
                                      static_cast<int>(BitmapBpp(layer))));
    if (!canvas || !FreeImage_Paste(canvas.get(), layer.get(), 0, 0, kPasteAlpha)) {
        return image;
    }
    Bitmap region(FreeImage_Copy(image.get(), at.x, at.y, at.x + static_cast<int>(lw),
                                 at.y + static_cast<int>(lh)));
    const Bitmap blended = CompositeLayer(std::move(region), canvas.get());
    if (blended && BitmapBpp(blended) == BitmapBpp(image)) {
        FreeImage_Paste(image.get(), blended.get(), at.x, at.y, kPasteCopy);
    }
    return image;
}

}  // namespace

bool OpenWatermarkFont(const WatermarkSettings& w) {
    const auto style = ValueOf<FontStyle>(w.FontStyle);
    const auto effect = ValueOf<FontEffect>(w.FontEffect);
    FontRequest request;
    request.family = w.Font;
    request.points = w.FontSize;
    request.bold = style == FontStyle::Bold || style == FontStyle::BoldItalic;
    request.italic = style == FontStyle::Italic || style == FontStyle::BoldItalic;
    request.underline = effect == FontEffect::Underline;
    request.strikeOut = effect == FontEffect::StrikeThrough;
    g_font = LoadFont(request);
    return WatermarkFontOpen();
}

void CloseWatermarkFont() {
    g_font = Font();
}

bool WatermarkFontOpen() {
    return static_cast<bool>(g_font);
}

Bitmap DrawWatermark(Bitmap bitmap, int width, int height, const WatermarkSettings& w,
                     std::string_view text, const FrameWidths& frame) {
    const auto type = ValueOf<WatermarkType>(w.DoWatermark);
    if (!bitmap || type == WatermarkType::None) {
        return bitmap;
    }
    bitmap = ConvertTo24Bits(std::move(bitmap));
    Bitmap layer;
    if (type == WatermarkType::Text) {
        layer = BuildTextLayer(w, text);
    } else if (type == WatermarkType::Image) {
        layer = BuildImageLayer(w);
    }
    if (!layer) {
        return bitmap;
    }
    bitmap =
        PlaceLayer(std::move(bitmap), std::move(layer), PlacementOf(type, w), width, height, frame);
    // A built layer is blended over the image, placed or not: the result is
    // a new bitmap, as the frame's.
    UseNewBitmapResolution(bitmap.get());
    return bitmap;
}

}  // namespace tarvik
