#include "engine/depth.h"

#include "core/formats.h"
#include "core/job.h"

namespace tarvik {
namespace {

bool IsOneOf(const std::string& key, std::initializer_list<const char*> keys) {
    for (const char* k : keys) {
        if (key == k) {
            return true;
        }
    }
    return false;
}

Bitmap To24Unless24(Bitmap b) {
    if (BitmapBpp(b) == 24) {
        return b;
    }
    return ConvertBitmap(std::move(b), FreeImage_ConvertTo24Bits);
}

Bitmap To16(Bitmap b) {
    if (BitmapBpp(b) > 32) {
        b = ConvertBitmap(std::move(b), FreeImage_ConvertTo24Bits);
    }
    // Icons and Targa store 5-5-5; everything else (a 16-bit BMP) 5-6-5.
    if (IsOneOf(Job.OutputExtension, {"ico", "tga"})) {
        return ConvertBitmap(std::move(b), FreeImage_ConvertTo16Bits555);
    }
    return ConvertBitmap(std::move(b), FreeImage_ConvertTo16Bits565);
}

Bitmap To8(Bitmap b) {
    if (IsOneOf(Job.OutputExtension, {"j2k", "jp2", "jpg", "jxr"})) {
        return ConvertBitmap(std::move(b), FreeImage_ConvertTo8Bits);
    }
    b = To24Unless24(std::move(b));
    return ConvertBitmap(std::move(b), [](FIBITMAP* dib) {
        return FreeImage_ColorQuantizeEx(dib, FIQ_WUQUANT, 256, 0, nullptr);
    });
}

}  // namespace

Bitmap ApplyOutputDepth(Bitmap bitmap) {
    if (!bitmap) {
        return bitmap;
    }
    if (Job.AutoBpp != 0) {
        Job.OutputBpp = AutoOutputBpp(Job.OutputExtension, Job.SourceBpp);
    }
    if (BitmapBpp(bitmap) == static_cast<unsigned>(Job.OutputBpp)) {
        return bitmap;
    }
    switch (Job.OutputBpp) {
        case 96:
            return ConvertBitmap(std::move(bitmap), FreeImage_ConvertToRGBF);
        case 48:
            return ConvertBitmap(std::move(bitmap), FreeImage_ConvertToRGB16);
        case 32:
            return ConvertBitmap(std::move(bitmap), FreeImage_ConvertTo32Bits);
        case 24:
            return ConvertBitmap(std::move(bitmap), FreeImage_ConvertTo24Bits);
        case 16:
            return To16(std::move(bitmap));
        case 8:
            return To8(std::move(bitmap));
        case 4:
            return ConvertBitmap(std::move(bitmap), FreeImage_ConvertTo4Bits);
        case 1:
            return ConvertBitmap(std::move(bitmap),
                                 [](FIBITMAP* dib) { return FreeImage_Dither(dib, FID_FS); });
        default:
            return Bitmap();
    }
}

int UsedPaletteSize(FIBITMAP* bitmap) {
    (void)bitmap;
    return 256;
}

bool SaveBmpExactColorTable(FIBITMAP*, const std::string&) { return false; }

}  // namespace tarvik
