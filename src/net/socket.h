// An owner for socket descriptors and a deadline-bounded wait on one, shared
// by the HTTP client and the loopback server of its tests.
#pragma once

#include <chrono>
#include <utility>

namespace tarvik {

using SteadyTime = std::chrono::steady_clock::time_point;

// Owns one descriptor (a socket, or a pipe end beside one) and closes it.
class Socket {
  public:
    Socket() = default;
    explicit Socket(int fd) : fd_(fd) {}
    Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket();

    bool Ok() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }

  private:
    int fd_ = -1;
};

// Waits until the descriptor reports one of the poll events or the deadline
// passes. Returns the events seen (error and hang-up included), 0 when the
// deadline passed first, -1 when polling failed. Signals do not cut the wait.
int WaitForSocket(int fd, short events, SteadyTime deadline);

}  // namespace tarvik
