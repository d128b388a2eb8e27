#include "engine/save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

bool WriteOutput(FIBITMAP* bitmap, const std::string& path) {
    if (!FitsBmpSizeLimit(bitmap) || !CreateParentFolders(path)) {
        return false;
    }
    if (UsesExactColorTable()) {
        return SaveBmpExactColorTable(bitmap, path);
    }
    TempFile tmp(path);
    if (!tmp.Ok()) {
        return false;
    }
    const auto fif = static_cast<FREE_IMAGE_FORMAT>(Job.OutputFormatId);
    if (!FreeImage_Save(fif, bitmap, tmp.Path().c_str(), Job.SaveFlags)) {
        return false;
    }
    if (fif == FIF_BMP && !FixBmpHeader(tmp.Descriptor())) {
        return false;
    }
    return tmp.Commit(TempFile::Flush::kNone);
}

}  // namespace

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
