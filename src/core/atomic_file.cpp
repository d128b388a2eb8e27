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

// A fixed registry the signal handler can read without allocating. A slot
// is taken and armed before the file exists, and mkstemp writes the unique
// name straight into it: a signal at any moment finds every temporary file
// this process may have created.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathMax = 4096;
enum SlotState : int { kFree = 0, kFilling = 1, kArmed = 2 };
std::array<std::array<char, kPathMax>, kSlots> g_paths{};
std::array<std::atomic<int>, kSlots> g_state{};
static_assert(std::atomic<int>::is_always_lock_free, "read by a signal handler");

int ReserveSlot() {
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_state[i].compare_exchange_strong(expected, kFilling)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ReleaseSlot(int slot) {
    if (slot >= 0) {
        g_state[static_cast<std::size_t>(slot)].store(kFree);
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
    const std::string pattern = FolderOf(finalPath) + "." + NameOf(finalPath) + ".tmp-XXXXXX";
    if (pattern.size() >= kPathMax) {
        return;
    }
    slot_ = ReserveSlot();
    std::array<char, kPathMax> unregistered{};
    char* name = slot_ >= 0 ? g_paths[static_cast<std::size_t>(slot_)].data() : unregistered.data();
    std::memcpy(name, pattern.c_str(), pattern.size() + 1);
    if (slot_ >= 0) {
        g_state[static_cast<std::size_t>(slot_)].store(kArmed);
    }
    fd_ = mkstemp(name);
    if (fd_ < 0) {
        ReleaseSlot(slot_);
        slot_ = -1;
        return;
    }
    // mkstemp creates 0600; outputs get the usual permissions.
    fchmod(fd_, 0666 & ~ProcessUmask());
    path_ = name;
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
        path_.clear();
    }
    ReleaseSlot(slot_);
    slot_ = -1;
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
    path_.clear();
    ReleaseSlot(slot_);
    slot_ = -1;
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
        if (g_state[i].load() == kArmed) {
            unlink(g_paths[i].data());
        }
    }
}

}  // namespace tarvik
