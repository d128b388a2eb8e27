// Helpers of the tests that work with pictures: generated JPEG files, the
// real binary, and reading back what it wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/bitmap.h"
#include "fixtures/jpeg_writer.h"
#include "support/files.h"

namespace tarvik::test {

using fixtures::JpegSpec;
using fixtures::Pattern;

// Saves a bitmap under the test-output folder as NAME.png.
void SaveForViewing(const Bitmap& bitmap, const std::string& name);

using fixtures::WriteJpeg;

// Runs the tarvik binary of this build.
RunResult RunTarvik(const std::vector<std::string>& args, const std::string& cwd = {},
                    int timeoutSeconds = 60);

struct BmpHeader {
    bool valid = false;
    std::uint32_t fileSize = 0;
    std::uint32_t pixelOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bpp = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;
};
BmpHeader ParseBmpHeader(const std::string& bytes);

// The pixel data of a BMP file (from its pixel offset to the end).
std::string BmpPixelData(const std::string& bytes);

}  // namespace tarvik::test
