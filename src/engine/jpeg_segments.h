// The structure of a JPEG file read from its bytes, without decoding: the
// marker segments up to the end of the image, and the repair of metadata
// segments that FreeImage's own readers would follow out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tarvik {

struct JpegSegment {
    std::uint8_t marker = 0;  // the byte after 0xFF
    std::size_t offset = 0;   // of the 0xFF
    std::size_t size = 0;     // payload bytes after the two length bytes
};

struct JpegFrame {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

struct JpegLayout {
    // SOI first, a frame header, at least one scan, then EOI, every
    // segment inside the file.
    bool complete = false;
    std::vector<JpegFrame> frames;  // every SOF0..SOF15 header, in file order
    int scans = 0;
    std::vector<JpegSegment> appSegments;  // APP0..APP15, in file order
};

// Walks the segments the way libjpeg reads them: bytes between segments
// that are not a marker are skipped, fill bytes (0xFF 0xFF) are swallowed,
// and entropy-coded data ends at the first marker other than RST.
JpegLayout WalkJpegSegments(std::span<const std::uint8_t> bytes);

struct MetadataRepair {
    int dropped = 0;  // segments FreeImage will no longer read
    int rebuilt = 0;  // EXIF blocks cut down to their orientation
};

// Changes the bytes in place so that FreeImage only reads metadata that
// stays inside its segment. A malformed EXIF block is rewritten to hold
// only its orientation when that can still be read, or dropped; other
// malformed APP0, APP1 and APP13 segments are dropped. Sound EXIF blocks
// lose only the links FreeImage would follow without checks (thumbnail,
// maker note).
MetadataRepair RepairJpegMetadata(std::span<std::uint8_t> bytes, const JpegLayout& layout);

// The EXIF orientation (1..8) of a TIFF block that passes the checks, 0
// when there is none; -1 when the block is malformed. For tests and tools.
int CheckedExifOrientation(std::span<const std::uint8_t> tiff);

}  // namespace tarvik
