#include "engine/jpeg_load.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>

#include "engine/jpeg_segments.h"
#include "engine/limits.h"

namespace tarvik {
namespace {

struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;

    std::span<std::uint8_t> Span() { return {data.get(), size}; }
};

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

bool ReadAll(int fd, std::uint8_t* to, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        const ssize_t n = read(fd, to + got, size - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// The whole file, read once. Only regular files: a FIFO or a device named
// *.jpg would block or never end (O_NONBLOCK keeps the open of a FIFO from
// waiting for a writer).
FileBytes ReadInputFile(const std::string& path) {
    FileBytes file;
    const Descriptor d{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    struct stat st {};
    if (d.fd < 0 || fstat(d.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<std::uint64_t>(st.st_size) > kMaxJpegFileBytes) {
        return file;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    file.data = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    if (!ReadAll(d.fd, file.data.get(), size, file.size)) {
        file.size = 0;
    }
    return file;
}

bool FitsJpegLimits(const JpegLayout& layout) {
    if (!layout.complete || layout.scans > kMaxJpegScans) {
        return false;
    }
    for (const JpegFrame& frame : layout.frames) {
        if (!FitsDecodeLimit(frame.width, frame.height)) {
            return false;
        }
    }
    return true;
}

// Reads the file bytes for FreeImage. FreeImage's own memory stream copies
// byte by byte when libjpeg asks for 4096 one-byte items, which costs a
// 12 MP decode several milliseconds; this copies each request at once.
struct MemoryReader {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;

    static MemoryReader& Of(fi_handle handle) { return *static_cast<MemoryReader*>(handle); }

    static unsigned DLL_CALLCONV Read(void* buffer, unsigned size, unsigned count, fi_handle h) {
        MemoryReader& r = Of(h);
        if (size == 0) {
            return 0;
        }
        const std::size_t items = std::min<std::size_t>(count, (r.bytes.size() - r.at) / size);
        std::memcpy(buffer, r.bytes.data() + r.at, items * size);
        r.at += items * size;
        return static_cast<unsigned>(items);
    }
    static unsigned DLL_CALLCONV Write(void*, unsigned, unsigned, fi_handle) { return 0; }
    static int DLL_CALLCONV Seek(fi_handle h, long offset, int origin) {
        MemoryReader& r = Of(h);
        const long base = origin == SEEK_SET   ? 0
                          : origin == SEEK_CUR ? static_cast<long>(r.at)
                                               : static_cast<long>(r.bytes.size());
        if (offset < -base || offset > static_cast<long>(r.bytes.size()) - base) {
            return -1;
        }
        r.at = static_cast<std::size_t>(base + offset);
        return 0;
    }
    static long DLL_CALLCONV Tell(fi_handle h) { return static_cast<long>(Of(h).at); }
};

Bitmap DecodeJpeg(std::span<const std::uint8_t> bytes) {
    FreeImageIO io{&MemoryReader::Read, &MemoryReader::Write, &MemoryReader::Seek,
                   &MemoryReader::Tell};
    MemoryReader reader{bytes};
    return Bitmap(FreeImage_LoadFromHandle(FIF_JPEG, &io, &reader, kJpegLoadFlags));
}

}  // namespace

Bitmap LoadJpeg(const std::string& path) {
    FileBytes file = ReadInputFile(path);
    const JpegLayout layout = WalkJpegSegments(file.Span());
    if (!FitsJpegLimits(layout)) {
        return {};
    }
    RepairJpegMetadata(file.Span(), layout);
    return DecodeJpeg(file.Span());
}

}  // namespace tarvik
