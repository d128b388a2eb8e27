#include "engine/color.h"

#include "core/settings.h"

namespace tarvik {
namespace {

Bitmap To24IfWiderThan32(Bitmap bitmap) {
    if (BitmapBpp(bitmap) > 32) {
        return ConvertBitmap(std::move(bitmap), FreeImage_ConvertTo24Bits);
    }
    return bitmap;
}

}  // namespace

Bitmap AdjustColors(Bitmap bitmap) {
    const auto& a = Settings.Adjustment;
    if (!bitmap || a.DoImageColorCorrection == 0) {
        return bitmap;
    }
    const unsigned bpp = BitmapBpp(bitmap);
    if (bpp < 8 || bpp > 32) {
        bitmap = ConvertBitmap(std::move(bitmap), FreeImage_ConvertTo24Bits);
    }
    if (bitmap) {
        // Works in place; a depth it cannot adjust is left as it is.
        FreeImage_AdjustColors(bitmap.get(), static_cast<double>(a.ImageBrightness),
                               static_cast<double>(a.ImageContrast),
                               static_cast<double>(a.ImageGamma), a.ImageInvert != 0);
    }
    return bitmap;
}

Bitmap GreyscaleImage(Bitmap bitmap) {
    if (!bitmap || Settings.Adjustment.DoImageGreyscale == 0) {
        return bitmap;
    }
    bitmap = To24IfWiderThan32(std::move(bitmap));
    return ConvertBitmap(std::move(bitmap), FreeImage_ConvertToGreyscale);
}

Bitmap ThresholdImage(Bitmap bitmap) {
    if (!bitmap || Settings.Adjustment.DoImageThreshold == 0) {
        return bitmap;
    }
    // Only the low byte of the level counts: 256 acts as 0.
    const auto level = static_cast<BYTE>(Settings.Adjustment.ImageThreshold & 0xFF);
    bitmap = To24IfWiderThan32(std::move(bitmap));
    return ConvertBitmap(std::move(bitmap),
                         [level](FIBITMAP* dib) { return FreeImage_Threshold(dib, level); });
}

}  // namespace tarvik
