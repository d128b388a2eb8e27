#include "gui/session_bus.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "net/socket.h"

namespace tarvik {
namespace {

constexpr std::string_view kAddressVariable = "DBUS_SESSION_BUS_ADDRESS";
// An address type the bus library refuses at once.
constexpr const char* kNoBus = "disabled:";
constexpr int kHexBase = 16;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// An address value with its %XX escapes undone.
std::string Unescape(std::string_view value) {
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            const int high = HexDigit(value[i + 1]);
            const int low = HexDigit(value[i + 2]);
            if (high >= 0 && low >= 0) {
                plain.push_back(static_cast<char>(high * kHexBase + low));
                i += 2;
                continue;
            }
        }
        plain.push_back(value[i]);
    }
    return plain;
}

// The value of key in "transport:key=value,key=value", or "".
std::string AddressValue(std::string_view entry, std::string_view key) {
    std::size_t start = entry.find(':');
    while (start != std::string_view::npos && start < entry.size()) {
        ++start;
        const std::size_t end = std::min(entry.find(',', start), entry.size());
        const std::string_view pair = entry.substr(start, end - start);
        if (pair.starts_with(key) && pair.size() > key.size() && pair[key.size()] == '=') {
            return Unescape(pair.substr(key.size() + 1));
        }
        start = end;
    }
    return {};
}

// A connected socket for a unix entry, or none (another transport, or
// nothing listening: the bus library fails at once there too).
Socket ConnectLocal(std::string_view entry) {
    if (!entry.starts_with("unix:")) {
        return {};
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = AddressValue(entry, "path");
    std::size_t offset = 0;
    if (path.empty()) {
        path = AddressValue(entry, "abstract");
        offset = 1;  // an abstract name starts with a NUL byte
    }
    if (path.empty() || path.size() + offset >= sizeof(address.sun_path)) {
        return {};
    }
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const auto length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
    Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket.Ok() ||
        connect(socket.Descriptor(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        return {};
    }
    return socket;
}

// Sends the greeting's first line: a bus answers it (or hangs up) at once.
bool Answers(const Socket& socket, SteadyTime deadline) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string hexUid;
    for (const char c : std::to_string(getuid())) {
        hexUid += kHex[static_cast<unsigned char>(c) / kHexBase];
        hexUid += kHex[static_cast<unsigned char>(c) % kHexBase];
    }
    const std::string greeting = std::string(1, '\0') + "AUTH EXTERNAL " + hexUid + "\r\n";
    if (send(socket.Descriptor(), greeting.data(), greeting.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(greeting.size())) {
        return true;  // refused at once: nothing to wait for
    }
    return WaitForSocket(socket.Descriptor(), POLLIN, deadline) != 0;
}

}  // namespace

bool SessionBusStalls(std::chrono::milliseconds bound) {
    const char* value = std::getenv(std::string(kAddressVariable).c_str());
    if (value == nullptr) {
        return false;
    }
    const std::string_view addresses(value);
    const SteadyTime deadline = std::chrono::steady_clock::now() + bound;
    std::size_t start = 0;
    while (start < addresses.size()) {
        const std::size_t end = std::min(addresses.find(';', start), addresses.size());
        const std::string_view entry = addresses.substr(start, end - start);
        if (!entry.starts_with("unix:")) {
            return false;  // not one to judge: leave it to the bus library
        }
        // The library takes the first entry it can connect to.
        if (const Socket socket = ConnectLocal(entry); socket.Ok()) {
            return !Answers(socket, deadline);
        }
        start = end + 1;
    }
    return false;
}

void LeaveSessionBus() {
    setenv(std::string(kAddressVariable).c_str(), kNoBus, 1);
}

}  // namespace tarvik
