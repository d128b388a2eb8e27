#include "core/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace tarvik {
namespace {

// A short fixed prefix and a random part: the hidden name never needs more
// room than a final name of the same folder could have.
constexpr std::string_view kHiddenPrefix = ".tarvik-";
constexpr std::size_t kRandomChars = 8;
constexpr int kNameAttempts = 64;
constexpr std::string_view kSelfFds = "/proc/self/fd/";
constexpr std::string_view kNameChars =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// A fixed registry the signal handler can read without allocating. A slot
// is taken and armed before the file gets its name, so a signal at any
// moment finds every hidden name this process may have created.
constexpr std::size_t kSlots = 8;
enum SlotState : int { kFree = 0, kFilling = 1, kArmed = 2 };
struct Slot {
    std::atomic<int> state{kFree};
    int folderFd = -1;
    std::array<char, NAME_MAX + 1> name{};
};
std::array<Slot, kSlots> g_slots;
static_assert(std::atomic<int>::is_always_lock_free, "read by a signal handler");

int ReserveSlot() {
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ArmSlot(int slot, int folderFd, const std::string& name) {
    if (slot < 0) {
        return;
    }
    Slot& s = g_slots[static_cast<std::size_t>(slot)];
    s.state.store(kFilling);
    s.folderFd = folderFd;
    std::memcpy(s.name.data(), name.c_str(), name.size() + 1);
    s.state.store(kArmed);
}

void ReleaseSlot(int slot) {
    if (slot >= 0) {
        g_slots[static_cast<std::size_t>(slot)].state.store(kFree);
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string HiddenName() {
    std::array<unsigned char, kRandomChars> random{};
    if (getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size())) {
        // No entropy source: the creation still refuses to reuse a name.
        static std::atomic<unsigned> counter{0};
        const unsigned seed = static_cast<unsigned>(getpid()) * 2654435761u + counter++;
        for (std::size_t i = 0; i < random.size(); ++i) {
            random[i] = static_cast<unsigned char>(seed >> (i * 4));
        }
    }
    std::string name(kHiddenPrefix);
    for (const unsigned char r : random) {
        name += kNameChars[r % kNameChars.size()];
    }
    return name;
}

// Gives the open unnamed file a name in the folder. The /proc link needs no
// privilege; AT_EMPTY_PATH is the way where /proc is not mounted.
bool LinkDescriptor(int fd, int folderFd, const std::string& name) {
    const std::string self = std::string(kSelfFds) + std::to_string(fd);
    if (linkat(AT_FDCWD, self.c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    return linkat(fd, "", folderFd, name.c_str(), AT_EMPTY_PATH) == 0;
}

struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
};

FileId IdOf(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 ? FileId{st.st_dev, st.st_ino} : FileId{};
}

bool NameHasId(int folderFd, const std::string& name, FileId id) {
    struct stat st {};
    return fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_dev == id.dev &&
           st.st_ino == id.ino;
}

}  // namespace

TempFile::TempFile(const std::string& finalPath, Kind kind) : finalName_(NameOf(finalPath)) {
    if (finalName_.empty() || finalName_ == "." || finalName_ == "..") {
        return;
    }
    folderFd_ = open(FolderOf(finalPath).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folderFd_ < 0) {
        return;
    }
    if (kind == Kind::kNamed || !OpenUnnamed()) {
        OpenNamed();
    }
}

TempFile::~TempFile() {
    Discard();
}

bool TempFile::OpenUnnamed() {
    // Without /proc the file could only be linked in with a privilege the
    // program does not have.
    if (access(kSelfFds.data(), F_OK) != 0) {
        return false;
    }
    fd_ = openat(folderFd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    return fd_ >= 0;
}

bool TempFile::OpenNamed() {
    slot_ = ReserveSlot();
    for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
        const std::string name = HiddenName();
        ArmSlot(slot_, folderFd_, name);
        fd_ = openat(folderFd_, name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_NOFOLLOW | O_CLOEXEC,
                     0666);
        if (fd_ >= 0) {
            name_ = name;
        } else if (errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        ReleaseSlot(slot_);
        slot_ = -1;
    }
    return fd_ >= 0;
}

void TempFile::Discard() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!name_.empty()) {
        unlinkat(folderFd_, name_.c_str(), 0);
        name_.clear();
    }
    ReleaseSlot(slot_);
    slot_ = -1;
    if (folderFd_ >= 0) {
        close(folderFd_);
        folderFd_ = -1;
    }
}

// Links the finished unnamed file straight to the final name when there is
// none yet (the name then appears complete); otherwise under a hidden name
// that Commit renames over the old file.
bool TempFile::LinkUnnamed() {
    if (LinkDescriptor(fd_, folderFd_, finalName_)) {
        return true;
    }
    if (errno != EEXIST) {
        return false;
    }
    slot_ = ReserveSlot();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = HiddenName();
        ArmSlot(slot_, folderFd_, name);
        if (LinkDescriptor(fd_, folderFd_, name)) {
            name_ = name;
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    ReleaseSlot(slot_);
    slot_ = -1;
    return false;
}

bool TempFile::Commit(Flush flush) {
    if (fd_ < 0) {
        return false;
    }
    const FileId id = IdOf(fd_);
    const bool unnamed = name_.empty();
    const bool synced = flush == Flush::kNone || fsync(fd_) == 0;
    const bool linked = synced && (!unnamed || LinkUnnamed());
    const bool linkedAsFinal = linked && name_.empty();
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (linkedAsFinal) {
        if (!closed && NameHasId(folderFd_, finalName_, id)) {
            unlinkat(folderFd_, finalName_.c_str(), 0);
        }
        Discard();
        return closed;
    }
    // Only a hidden name that still leads to this file is renamed: a name
    // swapped for something else is never put in the output's place.
    if (!linked || !closed || !NameHasId(folderFd_, name_, id) ||
        renameat(folderFd_, name_.c_str(), folderFd_, finalName_.c_str()) != 0) {
        Discard();
        return false;
    }
    name_.clear();
    Discard();
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
    for (Slot& s : g_slots) {
        if (s.state.load() == kArmed) {
            unlinkat(s.folderFd, s.name.data(), 0);
        }
    }
}

}  // namespace tarvik
