// One window per user and version. The window holds a lock file named after
// the full title and listens on a local socket beside it; a second start
// hands its file to the window through that socket instead of opening a
// second window. Both live in $XDG_RUNTIME_DIR when that is a writable
// folder, else in a private folder of this user in the temp folder.
// Command-line jobs take neither.
#pragma once

#include <string>

#include "net/socket.h"

namespace tarvik {

// The folder of the lock and the socket. On failure Folder is empty and
// Error is the line to print. When it is the private folder, it also
// becomes this process's XDG_RUNTIME_DIR, for Qt and the programs the
// window starts.
struct InstanceFolder {
    std::string Folder;
    std::string Error;
};
InstanceFolder FindInstanceFolder();

// The private folder in the temp folder: TMPDIR (else /tmp) and
// "tarvik-<user id>".
std::string PrivateTempFolder();

std::string InstanceLockPath(const std::string& folder);
std::string InstanceSocketPath(const std::string& folder);

enum class LockState {
    kTaken,          // this process is the window
    kHeldElsewhere,  // a window is open
    kFailed,         // the lock file cannot be made
};

class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    LockState Acquire(const std::string& path);

  private:
    int fd_ = -1;
};

// The window's end of the hand-over: a listening socket at the socket
// path, made while the lock is held (a socket a killed window left behind
// is replaced) and removed again when this is destroyed.
class HandOverListener {
  public:
    HandOverListener() = default;
    ~HandOverListener();
    HandOverListener(const HandOverListener&) = delete;
    HandOverListener& operator=(const HandOverListener&) = delete;

    bool Listen(const std::string& path);
    int Descriptor() const { return socket_.Descriptor(); }

  private:
    Socket socket_;
    std::string path_;
};

enum class HandOver {
    kDelivered,   // the window took the message
    kNoListener,  // nothing listens (yet)
    kNoAnswer,    // connected, but the window did not answer in time
};

// A second start: sends file ("" only raises the window) and waits for the
// window's answer until deadline.
HandOver HandOverToWindow(const std::string& socketPath, const std::string& file,
                          SteadyTime deadline);

// The hand-over message: the file's bytes and a closing NUL. The window
// answers with kHandOverAnswer once it has taken it.
inline constexpr char kHandOverEnd = '\0';
inline constexpr char kHandOverAnswer = 'y';
// The most a message may hold: a path of PATH_MAX bytes and some room.
inline constexpr std::size_t kHandOverLimit = 8192;

}  // namespace tarvik
