#include "engine/save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/atomic_file.h"
#include "core/job.h"
#include "core/setting_values.h"
#include "core/settings.h"
#include "engine/depth.h"
#include "engine/limits.h"

namespace tarvik {
namespace {

std::uint32_t Read32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void Write32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

// The length an uncompressed BMP with this header must have; 0 when the
// rows are compressed and their length is not known in advance.
std::uint64_t UncompressedSize(const std::uint8_t* header) {
    const std::uint32_t compression = Read32(header + 30);
    if (compression != kBiRgb && compression != kBiBitfields) {
        return 0;
    }
    const std::uint64_t width = Read32(header + 18);
    const auto height = static_cast<std::int32_t>(Read32(header + 22));
    const std::uint64_t bpp = header[28] | (header[29] << 8);
    const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    return Read32(header + 10) + (width * bpp + 31) / 32 * 4 * rows;
}

bool UsesExactColorTable() {
    return Job.OutputExtension == "bmp" && Job.OutputBpp == 8 &&
           ValueOf<ColorTable>(Settings.Output.BmpColorTable) == ColorTable::Exact;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool CreateParentFolders(const std::string& path) {
    const std::size_t last = path.rfind('/');
    if (last == std::string::npos || last == 0) {
        return true;
    }
    for (std::size_t at = path.find('/', 1); at != std::string::npos && at <= last;
         at = path.find('/', at + 1)) {
        const std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            return false;
        }
    }
    struct stat st {};
    return stat(path.substr(0, last).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FixBmpHeader(int fd) {
    struct stat st {};
    std::uint8_t header[54];
    if (fstat(fd, &st) != 0 || pread(fd, header, sizeof header, 0) != sizeof header ||
        header[0] != 'B' || header[1] != 'M') {
        return false;
    }
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    if (fileSize > 0xFFFFFFFFu) {
        return false;
    }
    Write32(header + 2, static_cast<std::uint32_t>(fileSize));
    const std::uint32_t compression = Read32(header + 30);
    const std::uint32_t pixelOffset = Read32(header + 10);
    if (fileSize < UncompressedSize(header)) {
        return false;  // a short write the writer did not report
    }
    if (compression != 0 && pixelOffset <= fileSize) {
        Write32(header + 34, static_cast<std::uint32_t>(fileSize - pixelOffset));
    }
    return pwrite(fd, header, sizeof header, 0) == sizeof header;
}

namespace {

// FreeImage's writer over the temporary file's descriptor, with a buffer
// of its own: FreeImage writes a BMP in many small pieces and may seek back
// to patch its header. Every write is checked; the first failure sticks,
// so a short write anywhere fails the whole save.
class DescriptorWriter {
  public:
    explicit DescriptorWriter(int fd) : fd_(fd) { buffer_.reserve(kBufferBytes); }

    FreeImageIO Io() const { return {&Read, &Write, &Seek, &Tell}; }
    bool Finish() { return Flush() && !failed_; }

  private:
    static constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

    static DescriptorWriter& Of(fi_handle h) { return *static_cast<DescriptorWriter*>(h); }

    static unsigned DLL_CALLCONV Read(void*, unsigned, unsigned, fi_handle) { return 0; }

    static unsigned DLL_CALLCONV Write(void* data, unsigned size, unsigned count, fi_handle h) {
        DescriptorWriter& w = Of(h);
        const std::uint64_t bytes = std::uint64_t{size} * count;
        return w.Append(static_cast<const std::uint8_t*>(data), bytes) ? count : 0;
    }

    static int DLL_CALLCONV Seek(fi_handle h, long offset, int origin) {
        DescriptorWriter& w = Of(h);
        const std::int64_t base = origin == SEEK_SET   ? 0
                                  : origin == SEEK_CUR ? static_cast<std::int64_t>(w.position_)
                                                       : static_cast<std::int64_t>(w.end_);
        const std::int64_t to = base + offset;
        if (to < 0) {
            return -1;
        }
        w.position_ = static_cast<std::uint64_t>(to);
        return 0;
    }

    static long DLL_CALLCONV Tell(fi_handle h) { return static_cast<long>(Of(h).position_); }

    bool Append(const std::uint8_t* data, std::uint64_t bytes) {
        if (failed_) {
            return false;
        }
        // A write elsewhere than after the buffered bytes starts a new run.
        const bool follows = position_ == start_ + buffer_.size();
        if ((!follows || buffer_.size() + bytes > kBufferBytes) && !Flush()) {
            return false;
        }
        if (bytes >= kBufferBytes) {
            failed_ = !WriteAt(data, bytes, position_);
        } else {
            if (buffer_.empty()) {
                start_ = position_;
            }
            buffer_.insert(buffer_.end(), data, data + bytes);
        }
        position_ += bytes;
        end_ = std::max(end_, position_);
        return !failed_;
    }

    bool Flush() {
        if (!buffer_.empty() && !failed_) {
            failed_ = !WriteAt(buffer_.data(), buffer_.size(), start_);
        }
        buffer_.clear();
        return !failed_;
    }

    bool WriteAt(const std::uint8_t* data, std::uint64_t bytes, std::uint64_t at) const {
        while (bytes > 0) {
            const ssize_t n = pwrite(fd_, data, bytes, static_cast<off_t>(at));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            data += n;
            bytes -= static_cast<std::uint64_t>(n);
            at += static_cast<std::uint64_t>(n);
        }
        return true;
    }

    int fd_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t start_ = 0;     // file offset of the buffer's first byte
    std::uint64_t position_ = 0;  // where the next write goes
    std::uint64_t end_ = 0;
    bool failed_ = false;
};

bool WriteOutput(FIBITMAP* bitmap, const std::string& path) {
    if (!FitsBmpSizeLimit(bitmap) || !CreateParentFolders(path)) {
        return false;
    }
    if (UsesExactColorTable()) {
        return SaveBmpExactColorTable(bitmap, path);
    }
    TempFile tmp(path);
    const auto fif = static_cast<FREE_IMAGE_FORMAT>(Job.OutputFormatId);
    return WriteImage(tmp, bitmap, fif, Job.SaveFlags) && tmp.Commit(TempFile::Flush::kNone);
}

}  // namespace

bool WriteImage(TempFile& file, FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, int flags) {
    if (!file.Ok()) {
        return false;
    }
    DescriptorWriter writer(file.Descriptor());
    FreeImageIO io = writer.Io();
    if (!FreeImage_SaveToHandle(format, bitmap, &io, &writer, flags) || !writer.Finish()) {
        return false;
    }
    return format != FIF_BMP || FixBmpHeader(file.Descriptor());
}

SaveResult SaveOutputImage(FIBITMAP* bitmap, const std::string& path) {
    if (bitmap == nullptr || path.empty()) {
        return SaveResult::Failed;
    }
    if (SameFile(path, Job.SourceFile)) {
        return SaveResult::SameAsInput;
    }
    return WriteOutput(bitmap, path) ? SaveResult::Saved : SaveResult::Failed;
}

}  // namespace tarvik
