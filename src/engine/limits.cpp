#include "engine/limits.h"

#include <cmath>
#include <numbers>

namespace tarvik {

bool FitsDecodeLimit(std::uint32_t width, std::uint32_t height) {
    return width > 0 && height > 0 &&
           static_cast<std::uint64_t>(width) * height * 4 <= kMaxDecodedBytes;
}

bool FitsDecodeLimitRotated(std::uint64_t width, std::uint64_t height, int degrees) {
    constexpr int kRightAngle = 90;
    constexpr int kTurn = 360;
    const int angle = ((degrees % kTurn) + kTurn) % kTurn;
    if (width == 0 || height == 0) {
        return false;
    }
    if (angle % kRightAngle == 0) {
        const bool swap = angle % (2 * kRightAngle) != 0;
        return width <= UINT32_MAX && height <= UINT32_MAX &&
               FitsDecodeLimit(static_cast<std::uint32_t>(swap ? height : width),
                               static_cast<std::uint32_t>(swap ? width : height));
    }
    const double radians = angle * std::numbers::pi / (kTurn / 2);
    const double c = std::fabs(std::cos(radians));
    const double s = std::fabs(std::sin(radians));
    const auto w = static_cast<double>(width);
    const auto h = static_cast<double>(height);
    // One pixel more each way leaves room for the rotation's own rounding.
    const double turnedWidth = std::ceil(w * c + h * s) + 1;
    const double turnedHeight = std::ceil(w * s + h * c) + 1;
    constexpr double kMaxSide = 0xFFFFFFFFu;
    return turnedWidth <= kMaxSide && turnedHeight <= kMaxSide &&
           FitsDecodeLimit(static_cast<std::uint32_t>(turnedWidth),
                           static_cast<std::uint32_t>(turnedHeight));
}

bool FitsBmpSizeLimit(FIBITMAP* bitmap) {
    const std::uint64_t width = FreeImage_GetWidth(bitmap);
    const std::uint64_t height = FreeImage_GetHeight(bitmap);
    const std::uint64_t bpp = FreeImage_GetBPP(bitmap);
    const std::uint64_t pitch = ((width * bpp + 31) / 32) * 4;
    const std::uint64_t palette = bpp <= 8 ? (std::uint64_t{4} << bpp) : 12;
    return 54 + palette + pitch * height <= kMaxBmpBytes;
}

}  // namespace tarvik
