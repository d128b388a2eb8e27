#include "engine/jpeg_load.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>

#include "engine/jpeg_segments.h"
#include "engine/limits.h"

namespace tarvik {
namespace {

// The input file mapped privately: pages come straight from the page cache
// without a copy, and the few bytes a metadata repair changes stay private
// to this process. A file cut short by someone else while it is mapped
// would fault the process on the lost pages; InputGuard turns that into a
// failed load instead.
class MappedFile {
  public:
    MappedFile() = default;
    MappedFile(void* data, std::size_t size) : data_(data), size_(size) {}
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() {
        if (data_ != nullptr) {
            munmap(data_, size_);
        }
    }
    std::span<std::uint8_t> Span() const { return {static_cast<std::uint8_t*>(data_), size_}; }

  private:
    void* data_ = nullptr;
    std::size_t size_ = 0;
};

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

// Only regular files: a FIFO or a device named *.jpg would block or never
// end (O_NONBLOCK keeps the open of a FIFO from waiting for a writer).
std::unique_ptr<MappedFile> MapInputFile(const std::string& path) {
    const Descriptor d{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    struct stat st {};
    if (d.fd < 0 || fstat(d.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<std::uint64_t>(st.st_size) > kMaxJpegFileBytes) {
        return std::make_unique<MappedFile>();
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, d.fd, 0);
    if (data == MAP_FAILED) {
        return std::make_unique<MappedFile>();
    }
    // Read front to back, twice: once walked, once decoded.
    madvise(data, size, MADV_SEQUENTIAL);
    return std::make_unique<MappedFile>(data, size);
}

// While a mapping is read, SIGBUS on one of its pages (the file shrank
// under us) maps a zero page there and marks the load as failed, so the
// decoder runs to its end on zeros and the result is thrown away. Several
// threads may load at once: each guards its own mapping (the signal comes
// to the thread that touched the page), and the handler stays installed
// while any of them reads.
thread_local std::uintptr_t t_guardedStart = 0;
thread_local std::uintptr_t t_guardedEnd = 0;
thread_local volatile std::sig_atomic_t t_inputChanged = 0;
std::mutex g_guardLock;
int g_guards = 0;  // guarded by g_guardLock
struct sigaction g_previousBus {};

void OnBusError(int number, siginfo_t* info, void* context) {
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (at >= t_guardedStart && at < t_guardedEnd) {
        const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        void* base = reinterpret_cast<void*>(at & ~(page - 1));
        if (mmap(base, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
                 0) != MAP_FAILED) {
            t_inputChanged = 1;
            return;
        }
    }
    // Not ours: behave as before the guard.
    if ((g_previousBus.sa_flags & SA_SIGINFO) != 0 && g_previousBus.sa_sigaction != nullptr) {
        g_previousBus.sa_sigaction(number, info, context);
        return;
    }
    signal(SIGBUS, SIG_DFL);
    raise(SIGBUS);
}

class InputGuard {
  public:
    explicit InputGuard(std::span<const std::uint8_t> bytes) {
        t_inputChanged = 0;
        t_guardedStart = reinterpret_cast<std::uintptr_t>(bytes.data());
        t_guardedEnd = reinterpret_cast<std::uintptr_t>(bytes.data() + bytes.size());
        const std::lock_guard<std::mutex> lock(g_guardLock);
        if (g_guards++ == 0) {
            struct sigaction action {};
            action.sa_sigaction = OnBusError;
            action.sa_flags = SA_SIGINFO;
            sigemptyset(&action.sa_mask);
            sigaction(SIGBUS, &action, &g_previousBus);
        }
    }
    InputGuard(const InputGuard&) = delete;
    InputGuard& operator=(const InputGuard&) = delete;
    ~InputGuard() {
        {
            const std::lock_guard<std::mutex> lock(g_guardLock);
            if (--g_guards == 0) {
                sigaction(SIGBUS, &g_previousBus, nullptr);
            }
        }
        t_guardedStart = 0;
        t_guardedEnd = 0;
    }
    bool InputChanged() const { return t_inputChanged != 0; }
};

bool HasEmptyFrame(const JpegLayout& layout) {
    return std::any_of(layout.frames.begin(), layout.frames.end(), [](const JpegFrame& frame) {
        return frame.width == 0 || frame.height == 0;
    });
}

bool FramesFitDecodeLimit(const JpegLayout& layout) {
    return std::all_of(layout.frames.begin(), layout.frames.end(), [](const JpegFrame& frame) {
        return FitsDecodeLimit(frame.width, frame.height);
    });
}

}  // namespace

ConvertFailure CheckJpegLayout(const JpegLayout& layout) {
    if (!layout.startsWithSoi) {
        return ConvertFailure::NotJpeg;
    }
    if (layout.tooManySegments || layout.scans > kMaxJpegScans) {
        return ConvertFailure::TooComplex;
    }
    if (!layout.reachedEnd) {
        return ConvertFailure::Truncated;
    }
    if (!layout.complete || HasEmptyFrame(layout)) {
        return ConvertFailure::Load;
    }
    if (!FramesFitDecodeLimit(layout)) {
        return ConvertFailure::TooLarge;
    }
    return HoldsDeclaredBlocks(layout) ? ConvertFailure::None : ConvertFailure::Truncated;
}

namespace {

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

Bitmap LoadJpegBytes(std::span<std::uint8_t> bytes, ConvertFailure* failure) {
    ConvertFailure ignored = ConvertFailure::None;
    ConvertFailure& why = failure != nullptr ? *failure : ignored;
    const JpegLayout layout = WalkJpegSegments(bytes);
    why = CheckJpegLayout(layout);
    if (why != ConvertFailure::None) {
        return {};
    }
    RepairJpegMetadata(bytes, layout);
    Bitmap bitmap = DecodeJpeg(bytes);
    why = bitmap ? ConvertFailure::None : ConvertFailure::Load;
    return bitmap;
}

Bitmap LoadJpeg(const std::string& path, ConvertFailure* failure) {
    ConvertFailure ignored = ConvertFailure::None;
    ConvertFailure& why = failure != nullptr ? *failure : ignored;
    why = ConvertFailure::Load;
    const std::unique_ptr<MappedFile> file = MapInputFile(path);
    if (file->Span().empty()) {
        return {};
    }
    const InputGuard guard(file->Span());
    Bitmap bitmap = LoadJpegBytes(file->Span(), &why);
    if (guard.InputChanged()) {
        why = ConvertFailure::Load;
        return {};
    }
    return bitmap;
}

}  // namespace tarvik
