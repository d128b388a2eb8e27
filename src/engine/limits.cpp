#include "engine/limits.h"

namespace tarvik {

bool FitsDecodeLimit(std::uint32_t width, std::uint32_t height) {
    return width > 0 && height > 0 &&
           static_cast<std::uint64_t>(width) * height * 4 <= kMaxDecodedBytes;
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
