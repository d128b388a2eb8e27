#include "net/http_client.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>

#include "core/text.h"
#include "net/socket.h"

namespace tarvik {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::string_view kSchemeEnd = "://";
constexpr std::string_view kBlankLine = "\r\n\r\n";
constexpr int kHighestPort = 65535;

struct AddrInfoFree {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoFree>;

// One host look-up, shared by the caller and the thread that runs it: the
// caller may give up at its deadline while the thread is still inside the
// resolver, and whichever side finishes last frees the result.
struct Lookup {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    AddrInfoList addresses;
};

void RunLookup(const std::shared_ptr<Lookup>& lookup, const std::string& host,
               const std::string& port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int failed = getaddrinfo(host.c_str(), port.c_str(), &hints, &list);
    AddrInfoList addresses(failed == 0 ? list : nullptr);
    const std::lock_guard lock(lookup->mutex);
    lookup->addresses = std::move(addresses);
    lookup->done = true;
    lookup->finished.notify_all();
}

// The resolver has time-outs of its own, but they are not ours to choose:
// the look-up runs on a helper thread so that the call still ends at its
// deadline.
AddrInfoList Resolve(const HttpTarget& target, SteadyTime deadline) {
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread(RunLookup, lookup, target.host, std::to_string(target.port)).detach();
    } catch (const std::system_error&) {
        return {};
    }
    std::unique_lock lock(lookup->mutex);
    if (!lookup->finished.wait_until(lock, deadline, [&] { return lookup->done; })) {
        return {};
    }
    return std::move(lookup->addresses);
}

bool ConnectTo(const Socket& socket, const addrinfo& address, SteadyTime deadline) {
    if (connect(socket.Descriptor(), address.ai_addr, address.ai_addrlen) == 0) {
        return true;
    }
    if (errno != EINPROGRESS) {
        return false;
    }
    if (WaitForSocket(socket.Descriptor(), POLLOUT, deadline) <= 0) {
        return false;
    }
    int error = 0;
    socklen_t size = sizeof error;
    return getsockopt(socket.Descriptor(), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

// Tries the addresses in the resolver's order; the socket is non-blocking so
// that no connect outlasts the deadline.
Socket Connect(const HttpTarget& target, SteadyTime deadline) {
    const AddrInfoList addresses = Resolve(target, deadline);
    for (const addrinfo* a = addresses.get(); a != nullptr; a = a->ai_next) {
        Socket socket(
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (socket.Ok() && ConnectTo(socket, *a, deadline)) {
            return socket;
        }
        if (SteadyClock::now() >= deadline) {
            break;
        }
    }
    return {};
}

std::string BuildRequest(const HttpTarget& target, std::string_view userAgent) {
    std::string request;
    request.append("GET ").append(target.path).append(" HTTP/1.0\r\n");
    request.append("Host: ").append(target.host).append("\r\n");
    request.append("Accept: */*\r\n");
    request.append("User-Agent: ").append(userAgent).append("\r\n");
    request.append("Connection: close\r\n\r\n");
    return request;
}

bool SendAll(const Socket& socket, std::string_view bytes, SteadyTime deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket.Descriptor(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
                   WaitForSocket(socket.Descriptor(), POLLOUT, deadline) > 0) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

// Reads until the peer closes, an error, a full buffer or a deadline: the
// first byte must come by firstReply, the rest by whole. Returns the count.
std::size_t ReceiveReply(const Socket& socket, std::span<char> buffer, SteadyTime firstReply,
                         SteadyTime whole) {
    std::size_t received = 0;
    while (received < buffer.size()) {
        const SteadyTime deadline = received == 0 ? firstReply : whole;
        if (WaitForSocket(socket.Descriptor(), POLLIN, deadline) <= 0) {
            break;
        }
        const ssize_t count =
            recv(socket.Descriptor(), buffer.data() + received, buffer.size() - received, 0);
        if (count > 0) {
            received += static_cast<std::size_t>(count);
        } else if (count == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) {
            break;
        }
    }
    return received;
}

std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string ReplyText(std::string_view reply) {
    reply = reply.substr(0, reply.find('\0'));
    const std::size_t head = reply.find(kBlankLine);
    if (head == std::string_view::npos) {
        return {};
    }
    std::string_view body = reply.substr(head + kBlankLine.size());
    body = body.substr(0, body.find(kBlankLine));
    return std::string(TrimSpaces(body).substr(0, kReplyTextLength));
}

}  // namespace

std::int32_t ReadDecimal(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return 0;
    }
    return ReadConfigInteger(text.substr(first));
}

std::optional<HttpTarget> SplitHttpUrl(std::string_view url) {
    const std::size_t schemeEnd = url.find(kSchemeEnd);
    if (schemeEnd == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t authority = schemeEnd + kSchemeEnd.size();
    const std::size_t slash = url.find('/', authority);
    const std::size_t at = url.find('@', authority);
    const std::size_t hostStart = (at != std::string_view::npos && at < slash) ? at + 1 : authority;
    const std::size_t hostEnd = std::min(url.find_first_of(":/", hostStart), url.size());

    HttpTarget target;
    target.host = std::string(url.substr(hostStart, hostEnd - hostStart));
    if (hostEnd < url.size() && url[hostEnd] == ':') {
        const std::string_view portText = url.substr(hostEnd + 1, slash - (hostEnd + 1));
        if (!portText.empty()) {
            target.port = ReadDecimal(portText);
        }
    }
    std::string_view path = slash == std::string_view::npos ? "" : url.substr(slash + 1);
    target.path = "/" + std::string(path.substr(0, path.find('?')));

    if (target.host.empty() || target.port < 1 || target.port > kHighestPort) {
        return std::nullopt;
    }
    return target;
}

std::string HttpGetText(std::string_view url, std::string_view userAgent,
                        const HttpTimeouts& timeouts) {
    const SteadyTime whole = SteadyClock::now() + timeouts.whole;
    const std::optional<HttpTarget> target = SplitHttpUrl(url);
    if (!target) {
        return {};
    }
    const Socket socket = Connect(*target, whole);
    if (!socket.Ok()) {
        return {};
    }
    const std::string request =
        BuildRequest(*target, userAgent.empty() ? kDefaultUserAgent : userAgent);
    if (!SendAll(socket, request, whole)) {
        return {};
    }
    const SteadyTime firstReply = std::min(whole, SteadyClock::now() + timeouts.firstReply);
    std::array<char, kReplyBufferSize> buffer{};
    const std::size_t received = ReceiveReply(socket, buffer, firstReply, whole);
    return ReplyText(std::string_view(buffer.data(), received));
}

}  // namespace tarvik
