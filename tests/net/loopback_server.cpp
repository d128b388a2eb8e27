#include "net/loopback_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace tarvik::test {

namespace {

constexpr std::string_view kRequestEnd = "\r\n\r\n";
// A request head larger than this is not one the client under test sends.
constexpr std::size_t kRequestLimit = 65536;
constexpr int kForever = -1;

int Milliseconds(std::chrono::milliseconds duration) {
    return static_cast<int>(duration.count());
}

// Polls fd for events and the stop pipe together. True when fd is ready;
// false when the server stops or the time runs out.
bool WaitReady(int fd, short events, int stopFd, int timeoutMs) {
    std::array<pollfd, 2> entries{{{.fd = fd, .events = events, .revents = 0},
                                   {.fd = stopFd, .events = POLLIN, .revents = 0}}};
    while (true) {
        const int ready = poll(entries.data(), entries.size(), timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0 && entries[1].revents == 0 && entries[0].revents != 0;
    }
}

std::string LoopbackUrl(int port, std::string_view pathAndQuery) {
    return "http://127.0.0.1:" + std::to_string(port) + std::string(pathAndQuery);
}

// Binds a TCP socket to 127.0.0.1 on a port the system picks; 0 on failure.
int BindLoopback(const Socket& socket) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (!socket.Ok() || bind(socket.Descriptor(), generic, size) != 0 ||
        getsockname(socket.Descriptor(), generic, &size) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

bool WouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

}  // namespace

LoopbackServer::Connection::Connection(LoopbackServer& server, Socket socket)
    : server_(server), socket_(std::move(socket)) {}

std::string LoopbackServer::Connection::ReadRequest() {
    std::string request;
    std::array<char, 4096> chunk{};
    while (request.find(kRequestEnd) == std::string::npos && request.size() < kRequestLimit &&
           WaitReady(socket_.Descriptor(), POLLIN, server_.stopRead_.Descriptor(), kForever)) {
        const ssize_t count = recv(socket_.Descriptor(), chunk.data(), chunk.size(), 0);
        if (count > 0) {
            request.append(chunk.data(), static_cast<std::size_t>(count));
        } else if (count == 0 || !WouldBlock()) {
            break;
        }
    }
    const std::lock_guard lock(server_.mutex_);
    server_.requests_.push_back(request);
    return request;
}

bool LoopbackServer::Connection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket_.Descriptor(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent == 0 || !WouldBlock() ||
                   !WaitReady(socket_.Descriptor(), POLLOUT, server_.stopRead_.Descriptor(),
                              kForever)) {
            return false;
        }
    }
    return true;
}

bool LoopbackServer::Connection::Pause(std::chrono::milliseconds duration) {
    pollfd stop{.fd = server_.stopRead_.Descriptor(), .events = POLLIN, .revents = 0};
    return poll(&stop, 1, Milliseconds(duration)) == 0;
}

void LoopbackServer::Connection::HoldOpen() {
    // Whatever the peer still sends is read and dropped; its close ends the wait.
    std::array<char, 4096> chunk{};
    while (WaitReady(socket_.Descriptor(), POLLIN, server_.stopRead_.Descriptor(), kForever)) {
        const ssize_t count = recv(socket_.Descriptor(), chunk.data(), chunk.size(), 0);
        if (count == 0 || (count < 0 && !WouldBlock())) {
            return;
        }
    }
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    std::array<int, 2> stopPipe{};
    if (pipe2(stopPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    stopRead_ = Socket(stopPipe[0]);
    stopWrite_ = Socket(stopPipe[1]);
    listener_ = Socket(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const int port = BindLoopback(listener_);
    if (port == 0 || listen(listener_.Descriptor(), SOMAXCONN) != 0) {
        return;
    }
    port_ = port;
    thread_ = std::thread(&LoopbackServer::Serve, this);
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    if (stopWrite_.Ok()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = write(stopWrite_.Descriptor(), &wake, 1);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::string LoopbackServer::Url(std::string_view pathAndQuery) const {
    return LoopbackUrl(port_, pathAndQuery);
}

std::vector<std::string> LoopbackServer::Requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

LoopbackServer::Handler LoopbackServer::Reply(std::string bytes) {
    return [bytes = std::move(bytes)](Connection& connection) {
        connection.ReadRequest();
        connection.Send(bytes);
    };
}

void LoopbackServer::Serve() {
    while (!Stopping() &&
           WaitReady(listener_.Descriptor(), POLLIN, stopRead_.Descriptor(), kForever)) {
        Socket client(
            accept4(listener_.Descriptor(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (client.Ok()) {
            Connection connection(*this, std::move(client));
            handler_(connection);
        }
    }
}

RefusingPort::RefusingPort()
    : socket_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)), port_(BindLoopback(socket_)) {}

std::string RefusingPort::Url(std::string_view pathAndQuery) const {
    return LoopbackUrl(port_, pathAndQuery);
}

}  // namespace tarvik::test
