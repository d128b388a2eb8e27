// Resource limits on what the engine reads, decodes and writes.
#pragma once

#include <cstdint>

#include "engine/bitmap.h"

namespace tarvik {

// The largest decoded bitmap accepted, in bytes (width x height x 4 for the
// widest working depth), i.e. 1 Gpixel: a BMP cannot exceed 4 GiB either,
// so a larger image could not be written at 32 bits per pixel anyway.
inline constexpr std::uint64_t kMaxDecodedBytes = std::uint64_t{4} << 30;

// BMP size fields are 32-bit: no output may exceed 4 GiB - 1.
inline constexpr std::uint64_t kMaxBmpBytes = 0xFFFFFFFFull;

// The largest input file read: FreeImage memory streams have a 32-bit size.
inline constexpr std::uint64_t kMaxJpegFileBytes = 0xFFFFFFFFull;

// Each progressive scan is a pass over the whole image, so a small file of
// many empty scans would take minutes; real encoders write at most a few
// dozen. 500 is the limit libjpeg-turbo applies when asked to bound scans.
inline constexpr int kMaxJpegScans = 500;

// Each APP or COM segment the decoder keeps is appended to a list it walks
// from its start, so the cost grows with the square of their number.
// Cameras write a handful; an ICC profile split into its largest number of
// pieces (255) and extended XMP still fit under this bound, which costs the
// decoder well under a millisecond.
inline constexpr int kMaxJpegMetadataSegments = 1000;

// Each thread of a run holds one bitmap, so a thread count set from
// outside is bounded.
inline constexpr int kMaxWorkerThreads = 64;

bool FitsDecodeLimit(std::uint32_t width, std::uint32_t height);
// Whether a width x height image turned by whole degrees counter-clockwise,
// grown to hold its turned corners, stays within the decode limit.
bool FitsDecodeLimitRotated(std::uint64_t width, std::uint64_t height, int degrees);
// Whether the BMP of this bitmap (headers, palette, uncompressed rows)
// stays within the format's size fields.
bool FitsBmpSizeLimit(FIBITMAP* bitmap);

}  // namespace tarvik
