// Loading a JPEG input: the file is checked before FreeImage decodes it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/job.h"
#include "engine/bitmap.h"
#include "engine/jpeg_segments.h"

namespace tarvik {

// Accurate DCT, turned upright by the EXIF orientation.
inline constexpr int kJpegLoadFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;

// Why a file of this layout is refused before decoding: not a JPEG, cut
// short (no end marker, or less entropy-coded data than its blocks take),
// a frame beyond the decode limit, more scans or metadata segments than
// allowed, no frame or scan; None when it may be decoded.
ConvertFailure CheckJpegLayout(const JpegLayout& layout);

// Decodes the file as JPEG, upright by its EXIF orientation. Empty, with
// the reason in failure, when the file cannot be read, is refused by
// CheckJpegLayout or fails to decode. Metadata that would lead FreeImage
// out of bounds is repaired or dropped first; the image itself still loads.
Bitmap LoadJpeg(const std::string& path, ConvertFailure* failure = nullptr);

// The same over bytes in memory, which the metadata repair may change.
Bitmap LoadJpegBytes(std::span<std::uint8_t> bytes, ConvertFailure* failure = nullptr);

}  // namespace tarvik
