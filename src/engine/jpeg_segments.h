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

struct JpegComponent {
    std::uint8_t id = 0;
    std::uint8_t h = 0;  // sampling factors
    std::uint8_t v = 0;
};

struct JpegFrame {
    std::uint8_t marker = 0;  // SOF0..SOF15: the coding process
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<JpegComponent> components;
};

struct JpegScan {
    std::vector<std::uint8_t> components;  // component ids
    std::uint8_t spectralStart = 0;        // Ss: 0 for a scan holding DC
    std::size_t dataBytes = 0;             // entropy-coded bytes, RST markers included
};

struct JpegLayout {
    bool startsWithSoi = false;
    bool reachedEnd = false;  // an EOI after segments that all lie inside the file
    // SOI first, a frame header, at least one scan, then EOI, every
    // segment inside the file.
    bool complete = false;
    // More APP/COM segments than kMaxJpegMetadataSegments: the walk stopped.
    bool tooManySegments = false;
    std::vector<JpegFrame> frames;  // every SOF0..SOF15 header, in file order
    int scans = 0;
    std::vector<JpegScan> scanList;        // the first kMaxJpegScans + 1 scans
    std::vector<JpegSegment> appSegments;  // APP0..APP15, in file order
    int metadataSegments = 0;              // APP0..APP15 and COM
};

// Walks the segments the way libjpeg reads them: bytes between segments
// that are not a marker are skipped, fill bytes (0xFF 0xFF) are swallowed,
// and entropy-coded data ends at the first marker other than RST.
JpegLayout WalkJpegSegments(std::span<const std::uint8_t> bytes);

// The fewest entropy-coded bits a Huffman-coded scan can take for the
// blocks it declares: each block of a sequential scan or a DC scan takes at
// least one code, an AC scan of a progressive image at least one end-of-band
// code per 32767 blocks. 0 for processes this bound does not cover
// (arithmetic coding, hierarchical).
std::uint64_t MinimumScanBits(const JpegFrame& frame, const JpegScan& scan);

// Whether the entropy-coded data of every scan can hold the blocks it
// declares, and all the data together one bit for every block of every
// component (its DC, which a progressive image codes in scans of its own).
bool HoldsDeclaredBlocks(const JpegLayout& layout);

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
