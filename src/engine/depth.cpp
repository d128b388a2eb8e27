#include "engine/depth.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "core/atomic_file.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/setting_values.h"
#include "core/settings.h"
#include "engine/limits.h"

namespace tarvik {
namespace {

constexpr int kPaletteEntries = 256;
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kHeaderBytes = kFileHeaderBytes + kInfoHeaderBytes;
constexpr std::size_t kQuadBytes = 4;
// What FreeImage writes before the pixels of an 8-bit BMP: both headers
// and a full 256-entry colour table.
constexpr std::size_t kFreeImageHeaderBytes = kHeaderBytes + kPaletteEntries * kQuadBytes;
constexpr std::size_t kPixelOffsetField = 10;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

std::uint32_t Get32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void PutFileHeader(std::uint8_t* p, std::uint32_t fileSize, std::uint32_t pixelOffset) {
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, fileSize);
    Put32(p + 10, pixelOffset);
}

// The bitmap's own information header, with the four fields that describe
// the exact table and the pixel data as written.
void PutInfoHeader(std::uint8_t* p, const BITMAPINFOHEADER& info, std::uint32_t pixelBytes,
                   std::uint32_t colors) {
    const std::uint32_t compression =
        ValueOf<BmpCompression>(Settings.Output.BmpCompression) == BmpCompression::Rle ? kBiRle8
                                                                                       : kBiRgb;
    Put32(p, static_cast<std::uint32_t>(kInfoHeaderBytes));
    Put32(p + 4, static_cast<std::uint32_t>(info.biWidth));
    Put32(p + 8, static_cast<std::uint32_t>(info.biHeight));
    Put16(p + 12, info.biPlanes);
    Put16(p + 14, info.biBitCount);
    Put32(p + 16, compression);
    Put32(p + 20, pixelBytes);
    Put32(p + 24, static_cast<std::uint32_t>(info.biXPelsPerMeter));
    Put32(p + 28, static_cast<std::uint32_t>(info.biYPelsPerMeter));
    Put32(p + 32, colors);
    Put32(p + 36, colors);
}

void PutPalette(std::uint8_t* p, const RGBQUAD* palette, int colors) {
    for (int i = 0; i < colors; ++i, p += kQuadBytes) {
        p[0] = palette[i].rgbBlue;
        p[1] = palette[i].rgbGreen;
        p[2] = palette[i].rgbRed;
        p[3] = 0;
    }
}

// The file image: headers, the used palette entries, then FreeImage's pixel
// bytes. Sizes come from the memory image's real length, since FreeImage's
// own RLE header gets them wrong. Empty on any failure.
std::vector<std::uint8_t> BuildExactBmp(FIBITMAP* bitmap, std::span<const std::uint8_t> memory) {
    if (memory.size() < kFreeImageHeaderBytes || memory[0] != 'B' || memory[1] != 'M' ||
        Get32(memory.data() + kPixelOffsetField) != kFreeImageHeaderBytes) {
        return {};
    }
    const int colors = UsedPaletteSize(bitmap);
    const std::size_t pixelBytes = memory.size() - kFreeImageHeaderBytes;
    const std::size_t pixelOffset = kHeaderBytes + static_cast<std::size_t>(colors) * kQuadBytes;
    const std::uint64_t fileSize = std::uint64_t{pixelOffset} + pixelBytes;
    if (fileSize > kMaxBmpBytes) {
        return {};
    }
    std::vector<std::uint8_t> file;
    try {
        file.assign(fileSize, 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    PutFileHeader(file.data(), static_cast<std::uint32_t>(fileSize),
                  static_cast<std::uint32_t>(pixelOffset));
    PutInfoHeader(file.data() + kFileHeaderBytes, *FreeImage_GetInfoHeader(bitmap),
                  static_cast<std::uint32_t>(pixelBytes), static_cast<std::uint32_t>(colors));
    PutPalette(file.data() + kHeaderBytes, FreeImage_GetPalette(bitmap), colors);
    std::memcpy(file.data() + pixelOffset, memory.data() + kFreeImageHeaderBytes, pixelBytes);
    return file;
}

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
        Job.OutputBpp = OutputBppFor(Job.SourceBpp);
    }
    return ConvertToOutputDepth(std::move(bitmap), Job.OutputBpp);
}

int OutputBppFor(int sourceBpp) {
    return Job.AutoBpp != 0 ? AutoOutputBpp(Job.OutputExtension, sourceBpp) : Job.OutputBpp;
}

Bitmap ConvertToOutputDepth(Bitmap bitmap, int bpp) {
    if (BitmapBpp(bitmap) == static_cast<unsigned>(bpp)) {
        return bitmap;
    }
    switch (bpp) {
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
    if (bitmap == nullptr || FreeImage_GetBPP(bitmap) != 8) {
        return kPaletteEntries;
    }
    const unsigned width = FreeImage_GetWidth(bitmap);
    const unsigned height = FreeImage_GetHeight(bitmap);
    const unsigned pitch = FreeImage_GetPitch(bitmap);
    const BYTE* row = FreeImage_GetBits(bitmap);
    int highest = 0;
    // Rows are padded to four bytes; the padding holds no pixels.
    for (unsigned y = 0; y < height; ++y, row += pitch) {
        for (unsigned x = 0; x < width; ++x) {
            highest = std::max(highest, static_cast<int>(row[x]));
        }
    }
    return highest + 1;
}

bool SaveBmpExactColorTable(FIBITMAP* bitmap, const std::string& path) {
    if (bitmap == nullptr || FreeImage_GetBPP(bitmap) != 8 ||
        FreeImage_GetPalette(bitmap) == nullptr) {
        return false;
    }
    MemoryStream memory(FreeImage_OpenMemory());
    if (!memory || !FreeImage_SaveToMemory(static_cast<FREE_IMAGE_FORMAT>(Job.OutputFormatId),
                                           bitmap, memory.get(), Job.SaveFlags)) {
        return false;
    }
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!FreeImage_AcquireMemory(memory.get(), &data, &size) || data == nullptr) {
        return false;
    }
    const std::vector<std::uint8_t> file = BuildExactBmp(bitmap, {data, size});
    // An image output, like the others: whole or absent, without a flush.
    return !file.empty() && WriteFileAtomically(path, file, TempFile::Flush::kNone);
}

}  // namespace tarvik
