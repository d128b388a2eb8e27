#include "engine/jpeg_load.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

Bitmap DecodeJpeg(std::span<std::uint8_t> bytes) {
    const MemoryStream memory(FreeImage_OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())));
    if (!memory) {
        return {};
    }
    return Bitmap(FreeImage_LoadFromMemory(FIF_JPEG, memory.get(), kJpegLoadFlags));
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
