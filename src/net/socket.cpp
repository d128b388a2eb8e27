#include "net/socket.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace tarvik {

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

Socket::~Socket() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

namespace {

// Milliseconds left until the deadline, rounded up so that a wait never ends
// just before it.
int MillisecondsUntil(SteadyTime deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INT_MAX));
}

}  // namespace

int WaitForSocket(int fd, short events, SteadyTime deadline) {
    pollfd entry{.fd = fd, .events = events, .revents = 0};
    while (true) {
        const int left = MillisecondsUntil(deadline);
        if (left == 0) {
            return 0;
        }
        const int ready = poll(&entry, 1, left);
        if (ready > 0) {
            return entry.revents;
        }
        if (ready < 0 && errno != EINTR) {
            return -1;
        }
    }
}

}  // namespace tarvik
