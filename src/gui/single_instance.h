// One window per user and version: a lock file named after the full title
// under $XDG_RUNTIME_DIR (else the temp folder). Command-line jobs do not
// take it.
#pragma once

#include <string>

namespace tarvik {

std::string InstanceLockPath();

class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another window holds the lock (or the file cannot be made).
    bool Acquire(const std::string& path);

  private:
    int fd_ = -1;
};

}  // namespace tarvik
