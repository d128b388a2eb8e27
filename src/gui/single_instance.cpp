#include "gui/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/catalog.h"
#include "core/product.h"

namespace tarvik {
namespace {

constexpr mode_t kPrivateMode = 0700;
constexpr mode_t kOthersBits = 077;
constexpr int kListenBacklog = 8;

bool IsWritableFolder(const char* path) {
    struct stat st {};
    return path != nullptr && path[0] == '/' && stat(path, &st) == 0 && S_ISDIR(st.st_mode) &&
           access(path, W_OK | X_OK) == 0;
}

// The private folder exists (made when missing), is a real folder, belongs
// to this user and is closed to everyone else; otherwise the error line.
std::string CheckPrivateFolder(const std::string& folder) {
    if (mkdir(folder.c_str(), kPrivateMode) != 0 && errno != EEXIST) {
        return ConsoleErrorText("Instance folder failed", folder, std::strerror(errno));
    }
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) {
        return ConsoleErrorText("Instance folder failed", folder, std::strerror(errno));
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != getuid() || (st.st_mode & kOthersBits) != 0) {
        return ConsoleErrorText("Instance folder not private", folder);
    }
    return {};
}

// Owns the descriptor of a folder that a long socket path is reached through.
class FolderHandle {
  public:
    FolderHandle() = default;
    ~FolderHandle() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    bool Open(const std::string& folder) {
        fd_ = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        return fd_ >= 0;
    }
    int Descriptor() const { return fd_; }

  private:
    int fd_ = -1;
};

// The address of a local socket. A unix socket path holds at most 107
// bytes; a longer one is reached through its folder's descriptor, which
// 'folder' keeps open for as long as the address is used.
bool SocketAddress(const std::string& path, sockaddr_un& address, FolderHandle& folder) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    std::string shown = path;
    if (shown.size() >= sizeof(address.sun_path)) {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos || !folder.Open(path.substr(0, slash + 1))) {
            return false;
        }
        shown = "/proc/self/fd/" + std::to_string(folder.Descriptor()) + path.substr(slash);
        if (shown.size() >= sizeof(address.sun_path)) {
            return false;
        }
    }
    std::memcpy(address.sun_path, shown.c_str(), shown.size() + 1);
    return true;
}

sockaddr* AsGeneric(sockaddr_un& address) {
    return reinterpret_cast<sockaddr*>(&address);  // the sockets interface takes this form
}

Socket LocalSocket() {
    return Socket(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
}

// Writes all of text before the deadline.
bool SendAll(int fd, std::string_view text, SteadyTime deadline) {
    while (!text.empty()) {
        if ((WaitForSocket(fd, POLLOUT, deadline) & POLLOUT) == 0) {
            return false;
        }
        const ssize_t sent = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno != EINTR && errno != EAGAIN) {
            return false;
        }
        text.remove_prefix(sent > 0 ? static_cast<std::size_t>(sent) : 0);
    }
    return true;
}

}  // namespace

std::string PrivateTempFolder() {
    const char* temp = std::getenv("TMPDIR");
    const std::string base = IsWritableFolder(temp) ? std::string(temp) : std::string("/tmp");
    return base + (base.ends_with('/') ? "" : "/") + std::string(ProgramShortName) + "-" +
           std::to_string(getuid());
}

InstanceFolder FindInstanceFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (IsWritableFolder(runtime)) {
        return {runtime, {}};
    }
    const std::string folder = PrivateTempFolder();
    std::string error = CheckPrivateFolder(folder);
    if (!error.empty()) {
        return {{}, std::move(error)};
    }
    // Qt would otherwise make the missing folder it names (where it may),
    // and the next start would look for the window there.
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    return {folder, {}};
}

std::string InstanceLockPath(const std::string& folder) {
    return folder + (folder.ends_with('/') ? "" : "/") + FullTitle() + ".lock";
}

std::string InstanceSocketPath(const std::string& folder) {
    return folder + (folder.ends_with('/') ? "" : "/") + FullTitle() + ".socket";
}

LockState InstanceLock::Acquire(const std::string& path) {
    if (fd_ < 0) {
        // Close-on-exec: programs the window opens must not inherit the lock.
        fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0) {
            return LockState::kFailed;
        }
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? LockState::kHeldElsewhere : LockState::kFailed;
    }
    return LockState::kTaken;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

bool HandOverListener::Listen(const std::string& path) {
    sockaddr_un address{};
    FolderHandle folder;
    if (!SocketAddress(path, address, folder)) {
        return false;
    }
    // The lock is held, so a socket file here is a killed window's.
    unlink(path.c_str());
    Socket listener(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listener.Ok() || bind(listener.Descriptor(), AsGeneric(address), sizeof(address)) != 0) {
        return false;
    }
    path_ = path;
    chmod(path.c_str(), S_IRUSR | S_IWUSR);
    if (listen(listener.Descriptor(), kListenBacklog) != 0) {
        return false;
    }
    socket_ = std::move(listener);
    return true;
}

HandOverListener::~HandOverListener() {
    if (!path_.empty()) {
        unlink(path_.c_str());
    }
}

HandOver HandOverToWindow(const std::string& socketPath, const std::string& file,
                          SteadyTime deadline) {
    sockaddr_un address{};
    FolderHandle folder;
    Socket connection = LocalSocket();
    if (!connection.Ok() || !SocketAddress(socketPath, address, folder) ||
        connect(connection.Descriptor(), AsGeneric(address), sizeof(address)) != 0) {
        return HandOver::kNoListener;
    }
    std::string message = file;
    message.push_back(kHandOverEnd);
    if (!SendAll(connection.Descriptor(), message, deadline)) {
        return HandOver::kNoAnswer;
    }
    while ((WaitForSocket(connection.Descriptor(), POLLIN, deadline) & (POLLIN | POLLHUP)) != 0) {
        char answer = 0;
        const ssize_t got = recv(connection.Descriptor(), &answer, 1, 0);
        if (got == 1) {
            return answer == kHandOverAnswer ? HandOver::kDelivered : HandOver::kNoAnswer;
        }
        if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
            break;
        }
    }
    return HandOver::kNoAnswer;
}

}  // namespace tarvik
