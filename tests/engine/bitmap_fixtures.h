// Bitmaps built in memory for the engine's operation tests, pixel probes,
// and a scratch folder for the few tests that write files.
#pragma once

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/job.h"
#include "core/settings.h"
#include "engine/bitmap.h"

namespace tarvik::test_bitmaps {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "rgb(" << c.r << "," << c.g << "," << c.b << ")";
}

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};

// A 24- or 32-bit bitmap filled with one colour.
inline Bitmap SolidBitmap(unsigned width, unsigned height, Rgb color, unsigned bpp = 24) {
    Bitmap b(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height),
                                static_cast<int>(bpp)));
    RGBQUAD quad{};
    quad.rgbRed = static_cast<BYTE>(color.r);
    quad.rgbGreen = static_cast<BYTE>(color.g);
    quad.rgbBlue = static_cast<BYTE>(color.b);
    quad.rgbReserved = 0xFF;
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            FreeImage_SetPixelColor(b.get(), x, y, &quad);
        }
    }
    return b;
}

// A 24-bit photo-like picture: smooth gradients in all three channels.
inline Bitmap GradientBitmap(unsigned width, unsigned height) {
    Bitmap b(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24));
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            RGBQUAD quad{};
            quad.rgbRed = static_cast<BYTE>(x * 255 / (width > 1 ? width - 1 : 1));
            quad.rgbGreen = static_cast<BYTE>(y * 255 / (height > 1 ? height - 1 : 1));
            quad.rgbBlue = static_cast<BYTE>((x + y) * 127 / (width + height));
            FreeImage_SetPixelColor(b.get(), x, y, &quad);
        }
    }
    return b;
}

// An 8-bit bitmap with a grey ramp palette (entry i = grey i), all index 0.
inline Bitmap GreyBitmap(unsigned width, unsigned height) {
    Bitmap b(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 8));
    RGBQUAD* palette = FreeImage_GetPalette(b.get());
    for (int i = 0; i < 256; ++i) {
        palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
    }
    return b;
}

inline void SetIndex(const Bitmap& b, unsigned x, unsigned y, BYTE index) {
    FreeImage_SetPixelIndex(b.get(), x, y, &index);
}

inline int IndexAt(const Bitmap& b, unsigned x, unsigned y) {
    BYTE index = 0;
    FreeImage_GetPixelIndex(b.get(), x, y, &index);
    return index;
}

// The colour of a pixel at any depth, through the palette when there is one.
inline Rgb PixelAt(FIBITMAP* dib, unsigned x, unsigned y) {
    RGBQUAD quad{};
    if (FreeImage_GetBPP(dib) <= 8) {
        BYTE index = 0;
        FreeImage_GetPixelIndex(dib, x, y, &index);
        quad = FreeImage_GetPalette(dib)[index];
    } else {
        FreeImage_GetPixelColor(dib, x, y, &quad);
    }
    return {quad.rgbRed, quad.rgbGreen, quad.rgbBlue};
}

inline Rgb PixelAt(const Bitmap& b, unsigned x, unsigned y) {
    return PixelAt(b.get(), x, y);
}

// Every pixel of both bitmaps has the same colour (sizes must match too).
inline bool SamePixels(FIBITMAP* a, FIBITMAP* b) {
    const unsigned w = FreeImage_GetWidth(a);
    const unsigned h = FreeImage_GetHeight(a);
    if (w != FreeImage_GetWidth(b) || h != FreeImage_GetHeight(b)) {
        return false;
    }
    for (unsigned y = 0; y < h; ++y) {
        for (unsigned x = 0; x < w; ++x) {
            if (!(PixelAt(a, x, y) == PixelAt(b, x, y))) {
                return false;
            }
        }
    }
    return true;
}

inline Bitmap Clone(const Bitmap& b) {
    return Bitmap(FreeImage_Clone(b.get()));
}

// Every test starts from the built-in settings and a fresh job record.
class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetSettings(false);
        ResetJob();
    }
};

// A private folder removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarvik-ops-XXXXXX");
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern + "/";
        }
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ec);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, ending in "/".
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) {
            bytes.push_back(static_cast<std::uint8_t>(c));
        }
        std::fclose(f);
    }
    return bytes;
}

inline std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8 | bytes[at + i];
    }
    return value;
}

// The indexes of an RLE8 pixel stream, bottom row first. FreeImage's own
// reader refuses the end-of-line code its writer puts after the last row.
inline std::vector<int> DecodeRle8(const std::vector<std::uint8_t>& data, std::size_t at,
                                   unsigned width, unsigned height) {
    std::vector<int> pixels(std::size_t{width} * height, -1);
    unsigned x = 0;
    unsigned y = 0;
    auto put = [&](int index) {
        if (x < width && y < height) {
            pixels[y * width + x] = index;
        }
        ++x;
    };
    while (at + 1 < data.size()) {
        const unsigned count = data[at];
        const unsigned code = data[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) {
                put(static_cast<int>(code));
            }
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            break;
        } else if (code == 2 && at + 1 < data.size()) {
            x += data[at];
            y += data[at + 1];
            at += 2;
        } else {
            for (unsigned i = 0; i < code && at + i < data.size(); ++i) {
                put(data[at + i]);
            }
            at += code + (code & 1);
        }
    }
    return pixels;
}

}  // namespace tarvik::test_bitmaps
