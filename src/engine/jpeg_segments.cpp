#include "engine/jpeg_segments.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tarvik {
namespace {

constexpr std::uint8_t kSoi = 0xD8;
constexpr std::uint8_t kEoi = 0xD9;
constexpr std::uint8_t kSos = 0xDA;
constexpr std::uint8_t kTem = 0x01;
constexpr std::uint8_t kApp0 = 0xE0;
constexpr std::uint8_t kApp1 = 0xE1;
constexpr std::uint8_t kApp13 = 0xED;
// Neither libjpeg nor FreeImage reads APP15, so renaming a segment to it
// drops the segment without moving a byte.
constexpr std::uint8_t kApp15 = 0xEF;

constexpr std::string_view kExifSignature{"Exif\0\0", 6};
constexpr std::string_view kJfxxSignature{"JFXX\0", 5};
constexpr std::string_view kPhotoshopSignature{"Photoshop 3.0\0", 14};
constexpr std::string_view kResourceSignature{"8BIM", 4};
// FreeImage compares this many bytes of an APP0 and an APP1 payload
// before it looks at the length.
constexpr std::size_t kApp0Peek = 5;
constexpr std::size_t kApp1Peek = 6;

constexpr std::uint16_t kTagOrientation = 0x0112;
constexpr std::uint16_t kTagExifIfd = 0x8769;
constexpr std::uint16_t kTagGpsIfd = 0x8825;
constexpr std::uint16_t kTagInteropIfd = 0xA005;
constexpr std::uint16_t kTagMakerNote = 0x927C;
// A tag id FreeImage knows nothing about: the entry is kept as plain data.
constexpr std::uint16_t kTagInert = 0xFFFF;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::uint16_t kTypeSignedShort = 8;
constexpr std::uint16_t kTypeSignedLong = 9;
constexpr std::uint16_t kIptcRecordVersion = 0x0200;
constexpr std::uint8_t kIptcTagMark = 0x1C;

// IFD0, the EXIF IFD and its interoperability IFD, plus GPS: real blocks
// nest two deep. Deeper or longer chains are treated as malformed.
constexpr int kMaxIfdDepth = 4;
constexpr int kMaxIfds = 16;
constexpr std::size_t kTiffHeaderSize = 8;
constexpr std::size_t kIfdEntrySize = 12;
// Header, one-entry IFD and its next-IFD link.
constexpr std::size_t kOrientationTiffSize = kTiffHeaderSize + 2 + kIfdEntrySize + 4;

bool IsSof(std::uint8_t m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}
bool IsParameterless(std::uint8_t m) {
    return (m >= 0xD0 && m <= 0xD7) || m == kTem;
}
bool IsApp(std::uint8_t m) {
    return m >= kApp0 && m <= kApp15;
}

std::uint16_t Be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

bool StartsWith(std::span<const std::uint8_t> b, std::string_view prefix) {
    return b.size() >= prefix.size() && std::memcmp(b.data(), prefix.data(), prefix.size()) == 0;
}

// libjpeg's next_marker: skips to a 0xFF, swallows fill bytes, and takes
// 0xFF 0x00 as data. Returns the marker byte with pos after it; 0 at the end.
std::uint8_t NextMarker(std::span<const std::uint8_t> b, std::size_t& pos) {
    while (pos < b.size()) {
        const void* ff = std::memchr(b.data() + pos, 0xFF, b.size() - pos);
        if (ff == nullptr) {
            break;
        }
        pos = static_cast<std::size_t>(static_cast<const std::uint8_t*>(ff) - b.data()) + 1;
        while (pos < b.size() && b[pos] == 0xFF) {
            ++pos;
        }
        if (pos < b.size() && b[pos++] != 0) {
            return b[pos - 1];
        }
    }
    pos = b.size();
    return 0;
}

// Records what the layout needs from one segment; false when libjpeg
// would stop at it.
bool ReadSegment(std::span<const std::uint8_t> b, const JpegSegment& seg, JpegLayout& layout) {
    const std::uint8_t* payload = b.data() + seg.offset + 4;
    if (IsSof(seg.marker)) {
        if (seg.size < 5) {
            return false;
        }
        layout.frames.push_back({Be16(payload + 3), Be16(payload + 1)});
    } else if (seg.marker == kSos) {
        if (layout.frames.empty()) {
            return false;
        }
        ++layout.scans;
    } else if (IsApp(seg.marker)) {
        layout.appSegments.push_back(seg);
    }
    return true;
}

// ---- EXIF: a TIFF structure inside the APP1 payload ----

class TiffView {
  public:
    TiffView(std::span<const std::uint8_t> bytes, bool bigEndian) : b_(bytes), big_(bigEndian) {}

    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= b_.size() && count <= b_.size() - offset;
    }
    std::uint16_t U16(std::size_t at) const {
        return static_cast<std::uint16_t>(big_ ? b_[at] << 8 | b_[at + 1]
                                               : b_[at + 1] << 8 | b_[at]);
    }
    std::uint32_t U32(std::size_t at) const {
        const std::uint32_t hi = U16(at);
        const std::uint32_t lo = U16(at + 2);
        return big_ ? hi << 16 | lo : lo << 16 | hi;
    }

  private:
    std::span<const std::uint8_t> b_;
    bool big_;
};

// Byte order of a TIFF header: 0 little, 1 big, -1 not a TIFF header.
int TiffByteOrder(std::span<const std::uint8_t> tiff) {
    static constexpr std::uint8_t kLittle[] = {'I', 'I', 42, 0};
    static constexpr std::uint8_t kBig[] = {'M', 'M', 0, 42};
    if (tiff.size() < kTiffHeaderSize) {
        return -1;
    }
    if (std::memcmp(tiff.data(), kLittle, 4) == 0) {
        return 0;
    }
    return std::memcmp(tiff.data(), kBig, 4) == 0 ? 1 : -1;
}

// Bytes per value of the TIFF field types 1..12; 0 for any other type.
unsigned TypeWidth(std::uint16_t type) {
    static constexpr unsigned kWidths[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < std::size(kWidths) ? kWidths[type] : 0;
}

struct ExifScan {
    bool sound = true;
    int ifds = 0;
    std::vector<std::uint32_t> visited;
    std::size_t ifd0Link = 0;             // where IFD0 names the thumbnail IFD
    std::vector<std::size_t> makerNotes;  // entries holding a maker note
};

void ScanIfd(const TiffView& t, std::uint32_t offset, int depth, ExifScan& s);

void ScanEntry(const TiffView& t, std::size_t at, int depth, ExifScan& s) {
    const std::uint16_t tag = t.U16(at);
    const std::uint16_t type = t.U16(at + 2);
    const std::uint64_t bytes = std::uint64_t{t.U32(at + 4)} * TypeWidth(type);
    std::size_t value = at + 8;
    if (bytes > 4) {
        value = t.U32(at + 8);
    }
    if (TypeWidth(type) == 0 || !t.Has(value, std::max<std::uint64_t>(bytes, 4))) {
        s.sound = false;
    } else if (tag == kTagMakerNote) {
        s.makerNotes.push_back(at);
    } else if (tag == kTagExifIfd || tag == kTagGpsIfd || tag == kTagInteropIfd) {
        ScanIfd(t, t.U32(value), depth + 1, s);
    } else if (depth == 0 && tag == kTagOrientation) {
        // FreeImage reads the value as one 16-bit number whatever its type.
        s.sound = bytes >= 2;
    }
}

void ScanIfd(const TiffView& t, std::uint32_t offset, int depth, ExifScan& s) {
    const bool seen = std::find(s.visited.begin(), s.visited.end(), offset) != s.visited.end();
    if (!s.sound || seen || depth > kMaxIfdDepth || ++s.ifds > kMaxIfds || !t.Has(offset, 2)) {
        s.sound = false;
        return;
    }
    s.visited.push_back(offset);
    const std::uint64_t table = 2 + std::uint64_t{t.U16(offset)} * kIfdEntrySize;
    // FreeImage reads IFD0's next-IFD link; the other links it ignores.
    if (!t.Has(offset, table + (depth == 0 ? 4 : 0))) {
        s.sound = false;
        return;
    }
    if (depth == 0) {
        s.ifd0Link = offset + table;
    }
    for (std::size_t at = offset + 2; at < offset + table && s.sound; at += kIfdEntrySize) {
        ScanEntry(t, at, depth, s);
    }
}

ExifScan ScanExif(std::span<const std::uint8_t> tiff) {
    ExifScan s;
    const int order = TiffByteOrder(tiff);
    if (order < 0) {
        s.sound = false;
        return s;
    }
    const TiffView t(tiff, order == 1);
    ScanIfd(t, t.U32(4), 0, s);
    return s;
}

// SHORT as cameras write it; some tools write a (signed) LONG. 0 for any
// other type or count.
std::uint32_t OrientationValue(const TiffView& t, std::size_t at) {
    const std::uint16_t type = t.U16(at + 2);
    if (t.U32(at + 4) != 1) {
        return 0;
    }
    if (type == kTypeShort || type == kTypeSignedShort) {
        return t.U16(at + 8);
    }
    return type == kTypeLong || type == kTypeSignedLong ? t.U32(at + 8) : 0;
}

// The orientation in IFD0, read entry by entry so that damage elsewhere in
// the block does not hide it; 0 when it cannot be read.
int ReadOrientation(std::span<const std::uint8_t> tiff) {
    const int order = TiffByteOrder(tiff);
    if (order < 0) {
        return 0;
    }
    const TiffView t(tiff, order == 1);
    const std::uint32_t ifd0 = t.U32(4);
    if (!t.Has(ifd0, 2)) {
        return 0;
    }
    const std::uint32_t count = t.U16(ifd0);
    for (std::uint64_t i = 0, at = ifd0 + 2; i < count && t.Has(at, kIfdEntrySize);
         ++i, at += kIfdEntrySize) {
        if (t.U16(at) == kTagOrientation) {
            const std::uint32_t value = OrientationValue(t, at);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
        }
    }
    return 0;
}

void Put16(std::uint8_t* p, std::uint16_t v, bool big) {
    p[big ? 0 : 1] = static_cast<std::uint8_t>(v >> 8);
    p[big ? 1 : 0] = static_cast<std::uint8_t>(v);
}

void Put32(std::uint8_t* p, std::uint32_t v, bool big) {
    Put16(p + (big ? 0 : 2), static_cast<std::uint16_t>(v >> 16), big);
    Put16(p + (big ? 2 : 0), static_cast<std::uint16_t>(v), big);
}

// Overwrites the start of the block with a TIFF structure holding only the
// orientation, in the block's own byte order.
void WriteOrientationTiff(std::span<std::uint8_t> tiff, int orientation) {
    const bool big = TiffByteOrder(tiff) == 1;
    std::uint8_t* p = tiff.data();
    Put32(p + 4, kTiffHeaderSize, big);
    Put16(p + 8, 1, big);
    Put16(p + 10, kTagOrientation, big);
    Put16(p + 12, kTypeShort, big);
    Put32(p + 14, 1, big);
    Put16(p + 18, static_cast<std::uint16_t>(orientation), big);
    Put16(p + 20, 0, big);
    Put32(p + 22, 0, big);
}

enum class Verdict { Keep, Drop, Rebuilt };

Verdict RepairExif(std::span<std::uint8_t> tiff) {
    const ExifScan scan = ScanExif(tiff);
    if (scan.sound) {
        // FreeImage decodes the thumbnail and walks maker notes by vendor
        // guesses without bounds checks; the conversion uses neither.
        std::memset(tiff.data() + scan.ifd0Link, 0, 4);
        for (const std::size_t at : scan.makerNotes) {
            Put16(tiff.data() + at, kTagInert, true);
        }
        return Verdict::Keep;
    }
    const int orientation = ReadOrientation(tiff);
    if (orientation == 0 || tiff.size() < kOrientationTiffSize) {
        return Verdict::Drop;
    }
    WriteOrientationTiff(tiff, orientation);
    return Verdict::Rebuilt;
}

// FreeImage's IPTC reader starts at the first 0x1C 0x02 and reads the
// record version as two bytes whatever its length.
bool SoundIptcRecords(std::span<const std::uint8_t> p) {
    std::size_t at = 0;
    while (at + 1 < p.size() && !(p[at] == kIptcTagMark && p[at + 1] == 0x02)) {
        ++at;
    }
    while (at + 5 < p.size() && p[at] == kIptcTagMark) {
        const unsigned id = static_cast<unsigned>(p[at + 1]) << 8 | p[at + 2];
        const std::size_t count = Be16(p.data() + at + 3);
        at += 5;
        if (count > p.size() - at) {
            return true;  // FreeImage stops here
        }
        if (id == kIptcRecordVersion && count == 1) {
            return false;
        }
        at += count;
    }
    return true;
}

// The Photoshop resource blocks: signature, id, padded name, size, data.
bool SoundPhotoshopBlocks(std::span<const std::uint8_t> p) {
    std::size_t at = kPhotoshopSignature.size();
    while (at < p.size()) {
        if (p.size() - at < 7 || !StartsWith(p.subspan(at), kResourceSignature)) {
            return false;
        }
        const std::size_t name = (p[at + 6] + 2u) & ~std::size_t{1};
        const std::size_t sizeAt = at + 6 + name;
        if (sizeAt > p.size() || p.size() - sizeAt < 4) {
            return false;
        }
        const std::uint64_t size = std::uint64_t{Be16(&p[sizeAt])} << 16 | Be16(&p[sizeAt + 2]);
        if (size > p.size() - sizeAt - 4) {
            return false;
        }
        at = sizeAt + 4 + size + (size & 1);
    }
    return true;
}

Verdict RepairApp13(std::span<const std::uint8_t> p) {
    const bool blocks = !StartsWith(p, kPhotoshopSignature) || SoundPhotoshopBlocks(p);
    return blocks && SoundIptcRecords(p) ? Verdict::Keep : Verdict::Drop;
}

Verdict RepairSegment(std::uint8_t marker, std::span<std::uint8_t> p) {
    switch (marker) {
        case kApp0:
            // A JFXX thumbnail is decoded by FreeImage without any checks.
            return p.size() < kApp0Peek || StartsWith(p, kJfxxSignature) ? Verdict::Drop
                                                                         : Verdict::Keep;
        case kApp1:
            if (p.size() < kApp1Peek) {
                return Verdict::Drop;
            }
            // XMP and other APP1 payloads are only copied as text.
            return StartsWith(p, kExifSignature) ? RepairExif(p.subspan(kExifSignature.size()))
                                                 : Verdict::Keep;
        case kApp13:
            return RepairApp13(p);
        default:
            return Verdict::Keep;
    }
}

}  // namespace

JpegLayout WalkJpegSegments(std::span<const std::uint8_t> b) {
    JpegLayout layout;
    if (b.size() < 4 || b[0] != 0xFF || b[1] != kSoi) {
        return layout;
    }
    std::size_t pos = 2;
    for (std::uint8_t m = NextMarker(b, pos); m != 0; m = NextMarker(b, pos)) {
        if (m == kEoi) {
            layout.complete = layout.scans > 0;
            return layout;
        }
        if (m == kSoi || b.size() - pos < 2) {
            return layout;
        }
        if (IsParameterless(m)) {
            continue;
        }
        const std::size_t length = Be16(&b[pos]);
        if (length < 2 || length > b.size() - pos ||
            !ReadSegment(b, {m, pos - 2, length - 2}, layout)) {
            return layout;
        }
        pos += length;
    }
    return layout;
}

MetadataRepair RepairJpegMetadata(std::span<std::uint8_t> bytes, const JpegLayout& layout) {
    MetadataRepair repair;
    for (const JpegSegment& seg : layout.appSegments) {
        switch (RepairSegment(seg.marker, bytes.subspan(seg.offset + 4, seg.size))) {
            case Verdict::Drop:
                bytes[seg.offset + 1] = kApp15;
                ++repair.dropped;
                break;
            case Verdict::Rebuilt:
                ++repair.rebuilt;
                break;
            case Verdict::Keep:
                break;
        }
    }
    return repair;
}

int CheckedExifOrientation(std::span<const std::uint8_t> tiff) {
    return ScanExif(tiff).sound ? ReadOrientation(tiff) : -1;
}

}  // namespace tarvik
