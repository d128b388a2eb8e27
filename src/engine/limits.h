// Resource limits on what the engine decodes and writes.
#pragma once

#include <cstdint>

#include "engine/bitmap.h"

namespace tarvik {

// The largest decoded bitmap accepted, in bytes (width x height x 4 for the
// widest working depth). 4 GiB leaves room for the two full-size bitmaps a
// step may hold plus frame and watermark layers on a 24 GB machine.
inline constexpr std::uint64_t kMaxDecodedBytes = std::uint64_t{4} << 30;

// BMP size fields are 32-bit: no output may exceed 4 GiB - 1.
inline constexpr std::uint64_t kMaxBmpBytes = 0xFFFFFFFFull;

bool FitsDecodeLimit(std::uint32_t width, std::uint32_t height);
// Whether the BMP of this bitmap (headers, palette, uncompressed rows)
// stays within the format's size fields.
bool FitsBmpSizeLimit(FIBITMAP* bitmap);

}  // namespace tarvik
