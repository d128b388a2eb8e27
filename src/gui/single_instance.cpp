#include "gui/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

#include "core/product.h"

namespace tarvik {

std::string InstanceLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::string(runtime) + "/" + FullTitle() + ".lock";
    }
    // The temp folder is shared: the user id keeps the lock per user.
    const char* temp = std::getenv("TMPDIR");
    const std::string folder = temp != nullptr && temp[0] == '/' ? temp : "/tmp";
    return folder + "/" + FullTitle() + "-" + std::to_string(getuid()) + ".lock";
}

bool InstanceLock::Acquire(const std::string& path) {
    // Close-on-exec: programs the window opens must not inherit the lock.
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return false;
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

}  // namespace tarvik
