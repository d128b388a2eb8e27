#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tarvik {
namespace {

// A fixed registry the signal handler can read without allocating.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathMax = 4096;
std::array<std::array<char, kPathMax>, kSlots> g_paths{};
std::array<std::atomic<bool>, kSlots> g_used{};

int Register(const std::string& path) {
    if (path.size() >= kPathMax) {
        return -1;
    }
    for (std::size_t i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (g_used[i].compare_exchange_strong(expected, true)) {
            std::memcpy(g_paths[i].data(), path.c_str(), path.size() + 1);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Unregister(const std::string& path) {
    for (std::size_t i = 0; i < kSlots; ++i) {
        if (g_used[i].load() && path == g_paths[i].data()) {
            g_used[i].store(false);
        }
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// umask can only be read by setting it, so it is read once, before the
// worker thread exists.
mode_t ProcessUmask() {
    static const mode_t mask = [] {
        const mode_t m = umask(022);
        umask(m);
        return m;
    }();
    return mask;
}

}  // namespace

TempFile::TempFile(const std::string& finalPath) : finalPath_(finalPath) {
    // A hidden name beside the target; mkstemp makes it unique and private.
    std::string pattern = FolderOf(finalPath) + "." + NameOf(finalPath) + ".tmp-XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) {
        return;
    }
    // mkstemp creates 0600; outputs get the usual permissions.
    fchmod(fd_, 0666 & ~ProcessUmask());
    path_ = pattern;
    Register(path_);
}

TempFile::~TempFile() {
    Discard();
}

void TempFile::Discard() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!path_.empty()) {
        unlink(path_.c_str());
        Unregister(path_);
        path_.clear();
    }
}

bool TempFile::Commit(Flush flush) {
    if (fd_ < 0) {
        return false;
    }
    const bool synced = flush == Flush::kNone || fsync(fd_) == 0;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || rename(path_.c_str(), finalPath_.c_str()) != 0) {
        Discard();
        return false;
    }
    Unregister(path_);
    path_.clear();
    return true;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         TempFile::Flush flush) {
    TempFile tmp(path);
    return tmp.Ok() && WriteAll(tmp.Descriptor(), bytes.data(), bytes.size()) && tmp.Commit(flush);
}

void RemovePendingTempFiles() noexcept {
    for (std::size_t i = 0; i < kSlots; ++i) {
        if (g_used[i].load()) {
            unlink(g_paths[i].data());
        }
    }
}

}  // namespace tarvik
