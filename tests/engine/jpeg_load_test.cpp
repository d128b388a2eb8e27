#include "engine/jpeg_load.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "engine/jpeg_segments.h"
#include "engine/limits.h"
#include "support/fixtures.h"

namespace tarvik {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

void Put16be(Bytes& to, unsigned v) {
    to.push_back(static_cast<std::uint8_t>(v >> 8));
    to.push_back(static_cast<std::uint8_t>(v));
}

void Put16le(Bytes& to, unsigned v) {
    to.push_back(static_cast<std::uint8_t>(v));
    to.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32le(Bytes& to, std::uint32_t v) {
    Put16le(to, v & 0xFFFF);
    Put16le(to, v >> 16);
}

Bytes Text(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

Bytes Segment(std::uint8_t marker, const Bytes& payload) {
    Bytes s = {0xFF, marker};
    Put16be(s, static_cast<unsigned>(payload.size() + 2));
    Append(s, payload);
    return s;
}

// A greyscale JPEG built by hand: every block is flat mid-grey (one
// one-bit Huffman code for "no change" and one for "end of block"), so any
// declared size fits in a few hundred bytes. More than one scan makes it
// progressive: a DC scan, then AC scans.
// Unless dataBytes says otherwise each scan carries two bits per block (the
// two codes), at most 64 bytes.
constexpr std::size_t kUpTo64 = 0;

Bytes HandBuiltJpeg(unsigned width, unsigned height, int scans = 1,
                    std::size_t dataBytes = kUpTo64) {
    Bytes jpeg = {0xFF, 0xD8};
    Bytes dqt = {0x00};
    dqt.resize(65, 1);
    Append(jpeg, Segment(0xDB, dqt));
    Bytes sof = {8};
    Put16be(sof, height);
    Put16be(sof, width);
    Append(sof, {1, 1, 0x11, 0});
    Append(jpeg, Segment(scans > 1 ? 0xC2 : 0xC0, sof));
    for (const std::uint8_t table : {std::uint8_t{0x00}, std::uint8_t{0x10}}) {
        Bytes dht = {table, 1};
        dht.resize(17, 0);
        dht.push_back(0);
        Append(jpeg, Segment(0xC4, dht));
    }
    const std::uint64_t blocks = ((width + 7) / 8) * std::uint64_t{(height + 7) / 8};
    if (dataBytes == kUpTo64) {
        dataBytes = std::min<std::uint64_t>(blocks / 4 + 1, 64);
    }
    for (int i = 0; i < scans; ++i) {
        const std::uint8_t last = scans > 1 && i == 0 ? 0 : 63;
        Append(jpeg, Segment(0xDA, {1, 1, 0x00, static_cast<std::uint8_t>(i > 0), last, 0}));
        jpeg.resize(jpeg.size() + dataBytes, 0);
    }
    Append(jpeg, {0xFF, 0xD9});
    return jpeg;
}

// The segments placed right after SOI, where readers look for metadata.
Bytes WithSegments(Bytes jpeg, const std::vector<Bytes>& segments) {
    Bytes head(jpeg.begin(), jpeg.begin() + 2);
    for (const Bytes& s : segments) {
        Append(head, s);
    }
    jpeg.erase(jpeg.begin(), jpeg.begin() + 2);
    Append(head, jpeg);
    return head;
}

// A 64 x 48 photo with the quadrant pattern, without EXIF.
Bytes PlainPhoto() {
    return fixtures::EncodeJpeg({.width = 64, .height = 48, .pattern = test::Pattern::Quadrants});
}

struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::uint32_t value;  // the value itself when it fits in four bytes
};

constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;

void PutEntries(Bytes& to, const std::vector<Entry>& entries, std::uint32_t next) {
    Put16le(to, static_cast<unsigned>(entries.size()));
    for (const Entry& e : entries) {
        Put16le(to, e.tag);
        Put16le(to, e.type);
        Put32le(to, e.count);
        Put32le(to, e.value);
    }
    Put32le(to, next);
}

// A little-endian TIFF block with IFD0 at offset 8, then `tail`.
Bytes Tiff(const std::vector<Entry>& ifd0, std::uint32_t next = 0, const Bytes& tail = {}) {
    Bytes t = {'I', 'I', 42, 0};
    Put32le(t, 8);
    PutEntries(t, ifd0, next);
    Append(t, tail);
    return t;
}

Bytes ExifSegment(const Bytes& tiff) {
    Bytes payload = {'E', 'x', 'i', 'f', 0, 0};
    Append(payload, tiff);
    return Segment(0xE1, payload);
}

const Entry kOrientation6{0x0112, kShort, 1, 6};

class LoadJpegTest : public ::testing::Test {
  protected:
    std::string Write(const Bytes& bytes, const std::string& name = "input.jpg") {
        const std::string path = folder_ + name;
        EXPECT_TRUE(test::WriteFile(path, std::string(bytes.begin(), bytes.end())));
        return path;
    }

    std::string folder_ = test::MakeTempFolder("jpeg-load");
};

TEST_F(LoadJpegTest, HandBuiltFilesDecode) {
    // The refusals below are only meaningful if these files are otherwise sound.
    for (const int scans : {1, kMaxJpegScans}) {
        const Bitmap b = LoadJpeg(Write(HandBuiltJpeg(40, 24, scans)));
        EXPECT_EQ(BitmapWidth(b), 40u) << scans << " scans";
        EXPECT_EQ(BitmapHeight(b), 24u) << scans << " scans";
        EXPECT_EQ(BitmapBpp(b), 8u) << scans << " scans";
    }
}

TEST_F(LoadJpegTest, RefusesFilesThatAreNotWholeJpegsOrTooLarge) {
    const Bytes photo = PlainPhoto();
    Bytes noEnd = HandBuiltJpeg(40, 24);
    noEnd.resize(noEnd.size() - 2);
    using F = ConvertFailure;
    const struct {
        const char* what;
        Bytes bytes;
        ConvertFailure reason;
    } cases[] = {
        {"declares 65500 x 65500 in a few hundred bytes", HandBuiltJpeg(65500, 65500), F::TooLarge},
        {"declares 32768 x 32769: one row over the limit", HandBuiltJpeg(32768, 32769),
         F::TooLarge},
        {"zero width", HandBuiltJpeg(0, 24), F::Load},
        {"zero height", HandBuiltJpeg(40, 0), F::Load},
        {"more scans than the limit", HandBuiltJpeg(8, 8, kMaxJpegScans + 1), F::TooComplex},
        {"cut in the middle of the image data",
         Bytes(photo.begin(), photo.begin() + static_cast<std::ptrdiff_t>(photo.size() / 2)),
         F::Truncated},
        {"cut before the end marker", noEnd, F::Truncated},
        {"start and end markers only", {0xFF, 0xD8, 0xFF, 0xD9}, F::Load},
        {"empty", {}, F::Load},
        {"PNG bytes", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}, F::NotJpeg},
        {"text", Text("not a picture at all\n"), F::NotJpeg},
        {"segment length past the end",
         {0xFF, 0xD8, 0xFF, 0xE1, 0x40, 0x00, 'E', 'x'},
         F::Truncated},
    };
    for (const auto& c : cases) {
        ConvertFailure why = F::None;
        EXPECT_FALSE(LoadJpeg(Write(c.bytes), &why)) << c.what;
        EXPECT_EQ(why, c.reason) << c.what;
    }
}

// Each block of a Huffman-coded scan takes at least one bit; a file with
// less data than its blocks need is refused before anything is decoded.
TEST_F(LoadJpegTest, RefusesTinyFilesDeclaringHugeImages) {
    // 800 x 800 is 10 000 blocks: 1250 bytes at one bit each.
    const struct {
        const char* what;
        Bytes bytes;
        bool loads;
    } cases[] = {
        {"20000 x 30000 in a few hundred bytes", HandBuiltJpeg(20000, 30000), false},
        {"32000 x 32000, 499 scans", HandBuiltJpeg(32000, 32000, 499), false},
        {"one bit per block", HandBuiltJpeg(800, 800, 1, 1250), true},
        {"one byte less", HandBuiltJpeg(800, 800, 1, 1249), false},
        {"progressive, one bit per block in its DC scan", HandBuiltJpeg(800, 800, 2, 1250), true},
        {"progressive, a DC scan one byte short", HandBuiltJpeg(800, 800, 2, 1249), false},
    };
    for (const auto& c : cases) {
        ConvertFailure why = ConvertFailure::None;
        const Bitmap b = LoadJpeg(Write(c.bytes), &why);
        EXPECT_EQ(static_cast<bool>(b), c.loads) << c.what;
        EXPECT_EQ(why, c.loads ? ConvertFailure::None : ConvertFailure::Truncated) << c.what;
    }
}

TEST(MinimumScanBits, CountsTheBlocksOfEachComponentInTheScan) {
    // 640 x 480 at 4:2:0: 80 x 60 luma blocks, 40 x 30 of each chroma.
    const JpegFrame colour{0xC0, 640, 480, {{1, 2, 2}, {2, 1, 1}, {3, 1, 1}}};
    JpegFrame progressive = colour;
    progressive.marker = 0xC2;
    JpegFrame arithmetic = colour;
    arithmetic.marker = 0xC9;
    // 1001 x 1 in one component: 126 blocks, padding included.
    const JpegFrame line{0xC0, 1001, 1, {{1, 1, 1}}};
    const struct {
        const char* what;
        JpegFrame frame;
        JpegScan scan;
        std::uint64_t bits;
    } cases[] = {
        {"interleaved scan", colour, {{1, 2, 3}, 0, 0}, 4800 + 1200 + 1200},
        {"chroma alone", colour, {{2}, 0, 0}, 1200},
        {"unknown component", colour, {{9}, 0, 0}, 0},
        {"progressive DC", progressive, {{1, 2, 3}, 0, 0}, 7200},
        {"progressive AC: one run code per 32767 blocks", progressive, {{1}, 1, 0}, 1},
        {"arithmetic coding is not bounded", arithmetic, {{1, 2, 3}, 0, 0}, 0},
        {"partial blocks count", line, {{1}, 0, 0}, 126},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MinimumScanBits(c.frame, c.scan), c.bits) << c.what;
    }
}

// The decoder keeps APP and COM segments in a list it walks from the start
// for each one; beyond the limit the walk stops and the file is refused.
TEST_F(LoadJpegTest, MetadataSegmentsBeyondTheLimitAreRefused) {
    const Bytes comment = Segment(0xFE, Text("a comment"));
    const Bytes emptyApp0 = {0xFF, 0xE0, 0x00, 0x02};
    const auto many = [](const Bytes& segment, int count) {
        Bytes all;
        for (int i = 0; i < count; ++i) {
            Append(all, segment);
        }
        return all;
    };
    const Bytes photo = HandBuiltJpeg(40, 24);
    const struct {
        const char* what;
        Bytes segments;
        bool loads;
    } cases[] = {
        {"as many comments as allowed", many(comment, kMaxJpegMetadataSegments), true},
        {"one comment more", many(comment, kMaxJpegMetadataSegments + 1), false},
        {"two million empty APP0 segments", many(emptyApp0, 2'000'000), false},
    };
    for (const auto& c : cases) {
        ConvertFailure why = ConvertFailure::None;
        const Bitmap b = LoadJpeg(Write(WithSegments(photo, {c.segments})), &why);
        EXPECT_EQ(static_cast<bool>(b), c.loads) << c.what;
        EXPECT_EQ(why, c.loads ? ConvertFailure::None : ConvertFailure::TooComplex) << c.what;
    }
}

TEST_F(LoadJpegTest, RefusesWhatIsNotARegularFile) {
    // A FIFO would block a reader forever; a folder cannot be read.
    const std::string fifo = folder_ + "fifo.jpg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(LoadJpeg(fifo));
    EXPECT_FALSE(LoadJpeg(test::MakeTempFolder("folder.jpg")));
    EXPECT_FALSE(LoadJpeg(folder_ + "missing.jpg"));
}

TEST(DecodeLimit, AllowsUpToFourGibibytesAtFourBytesPerPixel) {
    EXPECT_TRUE(FitsDecodeLimit(32768, 32768));
    EXPECT_FALSE(FitsDecodeLimit(32768, 32769));
    EXPECT_FALSE(FitsDecodeLimit(65535, 65535));
    EXPECT_FALSE(FitsDecodeLimit(0, 1));
    EXPECT_FALSE(FitsDecodeLimit(1, 0));
}

// Loads in a child process, so that a crash inside FreeImage fails the
// case instead of ending the test program. No thumbnail is ever decoded.
void ExpectLoadsAs(const std::string& path, unsigned width, unsigned height, const char* what) {
    EXPECT_EXIT(
        {
            const Bitmap b = LoadJpeg(path);
            const bool size = BitmapWidth(b) == width && BitmapHeight(b) == height;
            // _exit: the child skips exit-time checks of state it inherited.
            _exit(size && FreeImage_GetThumbnail(b.get()) == nullptr ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << what << ": expected " << width << " x " << height;
}

TEST_F(LoadJpegTest, SoundExifOrientationTurnsTheImageUpright) {
    const Bitmap b = LoadJpeg(Write(fixtures::EncodeJpeg(
        {.width = 64, .height = 48, .orientation = 6, .pattern = test::Pattern::Quadrants})));
    EXPECT_EQ(BitmapWidth(b), 48u);
    EXPECT_EQ(BitmapHeight(b), 64u);
}

TEST_F(LoadJpegTest, MalformedExifNeverCrashesAndKeepsAReadableOrientation) {
    const Bytes photo = PlainPhoto();
    const Bytes photoshop = Segment(0xED, Text(std::string_view("Photoshop 3.0\0"
                                                                "8BIM\x04\x04\0\0\0\0\0\0",
                                                                26)));
    Bytes manyEntries = Tiff({kOrientation6});
    manyEntries[8] = manyEntries[9] = 0xFF;  // the count of IFD0
    const struct {
        const char* what;
        std::vector<Bytes> segments;
        bool upright;  // the orientation survives
    } cases[] = {
        // The shape of the corpus file that crashed FreeImage: the segment
        // ends inside the TIFF header, before the IFD0 offset is complete.
        {"TIFF header cut at seven bytes",
         {ExifSegment(Text(std::string_view("MM\0*\0\0\0", 7))), photoshop},
         false},
        {"IFD0 at offset 0", {ExifSegment(Text(std::string_view("II*\0\0\0\0\0", 8)))}, false},
        {"IFD0 declares 65535 entries", {ExifSegment(manyEntries)}, true},
        {"IFD0 offset past the block",
         {ExifSegment(Text(std::string_view("II*\0\xFF\xFF\xFF\x7F", 8)))},
         false},
        {"TIFF header not TIFF",
         {ExifSegment(Text(std::string_view("\xFF\xFF\xFF\xFF\0\0\0\x08", 8)))},
         false},
        {"value offset past the block",
         {ExifSegment(Tiff({kOrientation6, {0x0132, 2, 20, 0xFFFFFF00}}))},
         true},
        {"count times size overflows 32 bits",
         {ExifSegment(Tiff({kOrientation6, {0x011A, 5, 0x20000001, 8}}))},
         true},
        {"EXIF IFD points back at IFD0",
         {ExifSegment(Tiff({kOrientation6, {0x8769, kLong, 1, 8}}))},
         true},
        {"EXIF IFD past the block",
         {ExifSegment(Tiff({kOrientation6, {0x8769, kLong, 1, 4000}}))},
         true},
        {"entry of type 0", {ExifSegment(Tiff({kOrientation6, {0x010F, 0, 50000, 0}}))}, true},
        {"orientation of one byte", {ExifSegment(Tiff({{0x0112, 1, 1, 6}}))}, false},
        {"thumbnail link past the block", {ExifSegment(Tiff({kOrientation6}, 0xFFFFFFF0))}, true},
        {"block shorter than the signature", {Segment(0xE1, Text("Exi"))}, false},
    };
    for (const auto& c : cases) {
        const std::string path = Write(WithSegments(photo, c.segments));
        ExpectLoadsAs(path, c.upright ? 48 : 64, c.upright ? 64 : 48, c.what);
    }
}

// A sound block whose IFD1 links a thumbnail (which FreeImage would decode
// in full, whatever size it declares) and whose "Canon" maker note has a
// camera-settings tag of bytes that FreeImage would read as 16-bit words.
Bytes ExifWithThumbnailAndMakerNote(const Bytes& thumbnail) {
    const std::uint32_t ifd1 = 8 + 2 + 3 * 12 + 4;
    const std::uint32_t thumbAt = ifd1 + 2 + 2 * 12 + 4;
    const auto thumbSize = static_cast<std::uint32_t>(thumbnail.size());
    const std::uint32_t makeAt = thumbAt + thumbSize;
    const std::uint32_t noteAt = makeAt + 6;
    const std::uint32_t noteSize = 2 + 12 + 4 + 200;
    Bytes tail;
    PutEntries(tail, {{0x0201, kLong, 1, thumbAt}, {0x0202, kLong, 1, thumbSize}}, 0);
    Append(tail, thumbnail);
    Append(tail, Text(std::string_view("Canon\0", 6)));
    PutEntries(tail, {{0x0001, 1, 200, noteAt + 18}}, 0);
    tail.resize(tail.size() + 200, 0x7F);
    // Orientation 1: turning the bitmap would drop a thumbnail FreeImage attached.
    return Tiff({{0x010F, 2, 6, makeAt}, {0x0112, kShort, 1, 1}, {0x927C, 7, noteSize, noteAt}},
                ifd1, tail);
}

TEST_F(LoadJpegTest, EmbeddedThumbnailsAndMakerNotesAreNotFollowed) {
    for (const Bytes& thumbnail : {HandBuiltJpeg(16, 16), HandBuiltJpeg(65500, 65500)}) {
        const Bytes exif = ExifWithThumbnailAndMakerNote(thumbnail);
        ASSERT_EQ(CheckedExifOrientation(exif), 1);
        Bytes jfxx = Text(std::string_view("JFXX\0\x10", 6));
        Append(jfxx, thumbnail);
        ExpectLoadsAs(Write(WithSegments(PlainPhoto(), {ExifSegment(exif)}), "exif.jpg"), 64, 48,
                      "EXIF thumbnail and maker note");
        ExpectLoadsAs(Write(WithSegments(PlainPhoto(), {Segment(0xE0, jfxx)}), "jfxx.jpg"), 64, 48,
                      "JFXX thumbnail");
    }
}

TEST(RepairJpegMetadata, RewritesABrokenBlockToItsOrientationAndDropsTheRest) {
    Bytes broken = Tiff({kOrientation6, {0x0132, 2, 20, 0xFFFFFF00}});
    ASSERT_EQ(CheckedExifOrientation(broken), -1);
    Bytes noOrientation = Tiff({{0x0132, 2, 20, 0xFFFFFF00}});
    Bytes iptc =
        Text(std::string_view("\x1C\x02\x00\x00\x01\x02", 6));  // record version of one byte
    Bytes file = WithSegments(
        PlainPhoto(), {ExifSegment(broken), ExifSegment(noOrientation), Segment(0xED, iptc)});
    const JpegLayout layout = WalkJpegSegments(file);
    ASSERT_TRUE(layout.complete);
    const MetadataRepair repair = RepairJpegMetadata(file, layout);
    EXPECT_EQ(repair.rebuilt, 1);
    EXPECT_EQ(repair.dropped, 2);
    const std::size_t tiffAt = layout.appSegments[0].offset + 4 + 6;
    const std::span<const std::uint8_t> rebuilt(file.data() + tiffAt, broken.size());
    EXPECT_EQ(CheckedExifOrientation(rebuilt), 6);
    EXPECT_EQ(file[layout.appSegments[1].offset + 1], 0xEF);
    EXPECT_EQ(file[layout.appSegments[2].offset + 1], 0xEF);
}

TEST(RepairJpegMetadata, LeavesASoundFileAsItWas) {
    Bytes file = fixtures::EncodeJpeg({.width = 32, .height = 32, .orientation = 3});
    const Bytes before = file;
    const MetadataRepair repair = RepairJpegMetadata(file, WalkJpegSegments(file));
    EXPECT_EQ(repair.dropped + repair.rebuilt, 0);
    EXPECT_EQ(file, before);
}

}  // namespace
}  // namespace tarvik

namespace tarvik {
namespace {

bool IsMapped(const std::string& path) {
    return test::ReadFile("/proc/self/maps").find(path) != std::string::npos;
}

// A file cut short by someone else while it is being read fails to load
// instead of faulting the process.
TEST_F(LoadJpegTest, AFileTruncatedWhileItIsReadFailsToLoad) {
    const std::string path = folder_ + "shrinking.jpg";
    bool truncatedInTime = false;
    for (int attempt = 0; attempt < 5 && !truncatedInTime; ++attempt) {
        ASSERT_TRUE(test::WriteJpeg(path, {.width = 4000, .height = 3000, .quality = 80}));
        std::atomic<bool> loaded{false};
        std::atomic<bool> truncated{false};
        std::thread cutter([&] {
            while (!loaded && !IsMapped(path)) {
            }
            if (!loaded && truncate(path.c_str(), 1000) == 0) {
                truncated = true;
            }
        });
        const Bitmap b = LoadJpeg(path);
        loaded = true;
        cutter.join();
        // Only a cut made while the file was still being read counts.
        truncatedInTime = truncated && !b;
        if (truncated && b) {
            continue;  // the decoder had already finished; try again
        }
        EXPECT_FALSE(truncated && b);
    }
    EXPECT_TRUE(truncatedInTime);
}

}  // namespace
}  // namespace tarvik
