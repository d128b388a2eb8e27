#include "engine/transform.h"

#include <cmath>
#include <limits>

#include "core/settings.h"
#include "core/text.h"

namespace tarvik {
namespace {

constexpr std::size_t kColorTextLength = 6;
constexpr int kFirstAngle = 1;
constexpr int kLastAngle = 359;
constexpr int kRotationSimple = 0;
constexpr int kRotationAdvanced = 1;
constexpr int kUnitPixels = 0;
constexpr int kUnitPercent = 1;
constexpr int kResizeLargeOnly = 1;

// Reads the pair up to its first non-hexadecimal character ("G0" is 0).
std::uint32_t ReadHexPair(std::string_view pair) {
    std::uint32_t value = 0;
    for (const char c : pair) {
        const int d = DigitValue(c, 16);
        if (d < 0) {
            break;
        }
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return value;
}

// FreeImage's background record: blue, green, red, reserved.
RGBQUAD BackgroundQuad(std::uint32_t color) {
    RGBQUAD quad{};
    quad.rgbRed = static_cast<BYTE>(color & 0xFF);
    quad.rgbGreen = static_cast<BYTE>((color >> 8) & 0xFF);
    quad.rgbBlue = static_cast<BYTE>((color >> 16) & 0xFF);
    quad.rgbReserved = 0;
    return quad;
}

// Rotation works on 24- and 32-bit bitmaps only.
Bitmap RotatableDepth(Bitmap bitmap) {
    const unsigned bpp = BitmapBpp(bitmap);
    if (bpp <= 16 || bpp > 32) {
        return ConvertBitmap(std::move(bitmap), FreeImage_ConvertTo24Bits);
    }
    return bitmap;
}

int ClampToInt(double value) {
    constexpr double kMin = std::numeric_limits<int>::min();
    constexpr double kMax = std::numeric_limits<int>::max();
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::fmin(std::fmax(value, kMin), kMax));
}

// Halves away from zero; the sizes here are positive.
int RoundHalfUp(float value) {
    return ClampToInt(std::floor(static_cast<double>(value) + 0.5));
}

struct Size {
    int width = 0;
    int height = 0;
};

// Only the target of the longer side counts; the ratio is single precision.
Size KeepAspect(int w, int h, int tw, int th) {
    if (w >= h) {
        const float ratio = static_cast<float>(w) / static_cast<float>(h);
        return {tw, RoundHalfUp(static_cast<float>(tw) / ratio)};
    }
    const float ratio = static_cast<float>(h) / static_cast<float>(w);
    return {RoundHalfUp(static_cast<float>(th) / ratio), th};
}

}  // namespace

std::uint32_t ParseColor(std::string_view text) {
    if (text.size() != kColorTextLength) {
        return 0;
    }
    const std::uint32_t red = ReadHexPair(text.substr(0, 2));
    const std::uint32_t green = ReadHexPair(text.substr(2, 2));
    const std::uint32_t blue = ReadHexPair(text.substr(4, 2));
    return red | (green << 8) | (blue << 16);
}

Bitmap RotateImage(Bitmap bitmap) {
    const auto& t = Settings.Transform;
    const int angle = t.ImageRotation;
    if (!bitmap || t.DoImageRotation == 0 || angle < kFirstAngle || angle > kLastAngle) {
        return bitmap;
    }
    const double w = BitmapWidth(bitmap);
    const double h = BitmapHeight(bitmap);
    bitmap = RotatableDepth(std::move(bitmap));
    if (t.ImageRotationType == kRotationSimple) {
        const RGBQUAD back = BackgroundQuad(ParseColor(t.ImageRotationBackColor));
        return ConvertBitmap(std::move(bitmap),
                             [&](FIBITMAP* dib) { return FreeImage_Rotate(dib, angle, &back); });
    }
    if (t.ImageRotationType == kRotationAdvanced) {
        return ConvertBitmap(std::move(bitmap), [&](FIBITMAP* dib) {
            return FreeImage_RotateEx(dib, angle, 0.0, 0.0, w / 2.0, h / 2.0, FALSE);
        });
    }
    return bitmap;
}

int ResizeDimension(int value, int unit, int size) {
    if (unit == kUnitPixels) {
        return value;
    }
    if (unit == kUnitPercent) {
        // nearbyint in the default rounding mode sends halves to even.
        return ClampToInt(std::nearbyint(value / 100.0 * size));
    }
    return 0;
}

FREE_IMAGE_FILTER ResizeFilter() {
    // The setting follows the order of the names shown to the user.
    switch (Settings.Transform.ImageResizeAlgorithm) {
        case 0:
            return FILTER_BOX;
        case 1:
            return FILTER_BILINEAR;
        case 2:
            return FILTER_BSPLINE;
        case 3:
            return FILTER_BICUBIC;
        case 4:
            return FILTER_CATMULLROM;
        case 5:
            return FILTER_LANCZOS3;
        default:
            return FILTER_BICUBIC;
    }
}

Bitmap ResizeImage(Bitmap bitmap, int width, int height) {
    const auto& t = Settings.Transform;
    if (!bitmap || t.DoImageResize == 0) {
        return bitmap;
    }
    const int tw = ResizeDimension(t.ImageWidth, t.ImageWidthUnit, width);
    const int th = ResizeDimension(t.ImageHeight, t.ImageHeightUnit, height);
    if (tw <= 0 || th <= 0 || (width == tw && height == th)) {
        return bitmap;
    }
    if (t.ImageResizeType == kResizeLargeOnly && width < tw && height < th) {
        return bitmap;
    }
    const Size target = t.KeepAspectRatio != 0 ? KeepAspect(width, height, tw, th) : Size{tw, th};
    const FREE_IMAGE_FILTER filter = ResizeFilter();
    return ConvertBitmap(std::move(bitmap), [&](FIBITMAP* dib) {
        return FreeImage_Rescale(dib, target.width, target.height, filter);
    });
}

void FlipImage(FIBITMAP* bitmap) {
    if (bitmap == nullptr) {
        return;
    }
    if (Settings.Transform.DoImageFlipHorizontal != 0) {
        FreeImage_FlipHorizontal(bitmap);
    }
    if (Settings.Transform.DoImageFlipVertical != 0) {
        FreeImage_FlipVertical(bitmap);
    }
}

}  // namespace tarvik
