#include "engine/transform.h"

#include <cmath>
#include <limits>

#include "core/color_text.h"
#include "core/job.h"
#include "core/setting_values.h"
#include "core/settings.h"
#include "engine/limits.h"

namespace tarvik {
namespace {

constexpr int kFirstAngle = 1;
constexpr int kLastAngle = 359;

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

// A size over the decode limit is refused before anything is allocated;
// the file fails with that reason. The reason goes to the caller's record,
// not to Job: files are transformed on several threads at once.
Bitmap TooLarge(ConvertFailure* failure) {
    if (failure != nullptr) {
        *failure = ConvertFailure::TooLarge;
    }
    return {};
}

}  // namespace

Bitmap RotateImage(Bitmap bitmap, ConvertFailure* failure) {
    const auto& t = Settings.Transform;
    const int angle = t.ImageRotation;
    if (!bitmap || t.DoImageRotation == 0 || angle < kFirstAngle || angle > kLastAngle) {
        return bitmap;
    }
    const double w = BitmapWidth(bitmap);
    const double h = BitmapHeight(bitmap);
    const auto type = ValueOf<RotationType>(t.ImageRotationType);
    // The simple rotation grows the image to hold its corners; the advanced
    // one keeps its size.
    if (type == RotationType::Simple &&
        !FitsDecodeLimitRotated(BitmapWidth(bitmap), BitmapHeight(bitmap), angle)) {
        return TooLarge(failure);
    }
    bitmap = RotatableDepth(std::move(bitmap));
    if (type == RotationType::Simple) {
        const RGBQUAD back = BackgroundQuad(ParseColor(t.ImageRotationBackColor));
        return ConvertBitmap(std::move(bitmap),
                             [&](FIBITMAP* dib) { return FreeImage_Rotate(dib, angle, &back); });
    }
    if (type == RotationType::Advanced) {
        return ConvertBitmap(std::move(bitmap), [&](FIBITMAP* dib) {
            return FreeImage_RotateEx(dib, angle, 0.0, 0.0, w / 2.0, h / 2.0, FALSE);
        });
    }
    return bitmap;
}

int ResizeDimension(int value, int unit, int size) {
    if (ValueOf<SizeUnit>(unit) == SizeUnit::Pixels) {
        return value;
    }
    if (ValueOf<SizeUnit>(unit) == SizeUnit::Percent) {
        // nearbyint in the default rounding mode sends halves to even.
        return ClampToInt(std::nearbyint(value / 100.0 * size));
    }
    return 0;
}

FREE_IMAGE_FILTER ResizeFilter() {
    // The setting follows the order of the names shown to the user.
    switch (ValueOf<ResizeAlgorithm>(Settings.Transform.ImageResizeAlgorithm)) {
        case ResizeAlgorithm::Box:
            return FILTER_BOX;
        case ResizeAlgorithm::Bilinear:
            return FILTER_BILINEAR;
        case ResizeAlgorithm::BSpline:
            return FILTER_BSPLINE;
        case ResizeAlgorithm::Bicubic:
            return FILTER_BICUBIC;
        case ResizeAlgorithm::CatmullRom:
            return FILTER_CATMULLROM;
        case ResizeAlgorithm::Lanczos:
            return FILTER_LANCZOS3;
        default:
            return FILTER_BICUBIC;
    }
}

Bitmap ResizeImage(Bitmap bitmap, int width, int height, ConvertFailure* failure) {
    const auto& t = Settings.Transform;
    if (!bitmap || t.DoImageResize == 0) {
        return bitmap;
    }
    const int tw = ResizeDimension(t.ImageWidth, t.ImageWidthUnit, width);
    const int th = ResizeDimension(t.ImageHeight, t.ImageHeightUnit, height);
    if (tw <= 0 || th <= 0 || (width == tw && height == th)) {
        return bitmap;
    }
    if (ValueOf<ResizeType>(t.ImageResizeType) == ResizeType::LargeImages && width < tw &&
        height < th) {
        return bitmap;
    }
    const Size target = t.KeepAspectRatio != 0 ? KeepAspect(width, height, tw, th) : Size{tw, th};
    if (target.width <= 0 || target.height <= 0 ||
        !FitsDecodeLimit(static_cast<std::uint32_t>(target.width),
                         static_cast<std::uint32_t>(target.height))) {
        return TooLarge(failure);
    }
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
