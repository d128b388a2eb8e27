#include "gui/display_access.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QLibraryInfo>

#include <cstdlib>
#include <cstring>

#include "core/catalog.h"
#include "net/socket.h"

namespace tarvik {
namespace {

// The platform Qt falls back to on this system.
constexpr std::string_view kDefaultPlatform = "xcb";
constexpr std::string_view kDefaultWaylandSocket = "wayland-0";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The platforms Qt tries, in order: QT_QPA_PLATFORM when set, else the
// session type's and the default one. Their options (":...") are dropped.
std::vector<std::string> PlatformCandidates() {
    std::string list = Environment("QT_QPA_PLATFORM");
    if (list.empty()) {
        list = Environment("XDG_SESSION_TYPE") == "wayland" ? "wayland;" : "";
        list += kDefaultPlatform;
    }
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        const std::string entry = list.substr(start, end - start);
        names.push_back(entry.substr(0, entry.find(':')));
        start = end + 1;
    }
    return names;
}

bool WaylandPlatformInstalled() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
    return !platforms.entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty();
}

bool WaylandReachable() {
    std::string name = Environment("WAYLAND_DISPLAY");
    if (name.empty()) {
        name = kDefaultWaylandSocket;
    }
    if (!name.starts_with('/')) {
        const std::string runtime = Environment("XDG_RUNTIME_DIR");
        if (runtime.empty()) {
            return false;
        }
        name = runtime + "/" + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    const Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return socket.Ok() &&
           connect(socket.Descriptor(), reinterpret_cast<const sockaddr*>(&address),
                   sizeof(address)) == 0 &&
           WaylandPlatformInstalled();
}

}  // namespace

DisplayCheck::DisplayCheck() {
    for (const std::string& name : PlatformCandidates()) {
        if (PlatformCanStart(name)) {
            reachable_ = true;
            return;
        }
    }
}

DisplayCheck::~DisplayCheck() {
    Release();
}

void DisplayCheck::Release() {
    if (x_ != nullptr) {
        xcb_disconnect(x_);
        x_ = nullptr;
    }
}

bool DisplayCheck::XDisplayReachable() {
    if (Environment("DISPLAY").empty()) {
        return false;
    }
    if (x_ == nullptr) {
        x_ = xcb_connect(nullptr, nullptr);
    }
    // A failed connection is an object too, with its error; freed at the end.
    return xcb_connection_has_error(x_) == 0;
}

bool DisplayCheck::PlatformCanStart(const std::string& name) {
    if (name == kDefaultPlatform) {
        return XDisplayReachable();
    }
    if (name.starts_with("wayland")) {
        return WaylandReachable();
    }
    return true;  // offscreen, minimal, vnc, eglfs...: no display server to reach
}

std::string NoDisplayLine() {
    return ConsoleErrorText("Window needs display");
}

}  // namespace tarvik
