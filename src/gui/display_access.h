// Whether the window can reach a display, asked before the application
// object is made: Qt's X11 platform ends the process with an abort when it
// cannot connect, so window mode without a display (over ssh, or a script
// that forgot -i) would end in a core dump instead of a message.
#pragma once

#include <string>

struct xcb_connection_t;

namespace tarvik {

// Whether one of the platforms Qt would try can start: an X display that
// accepts a connection, a Wayland socket (with Qt's Wayland platform
// installed), or a platform that needs no display (offscreen and the like).
// The X connection stays open until Release (or the end), so that it ends
// after Qt has connected: an X server whose last client leaves resets, and
// refuses connections while it does.
class DisplayCheck {
  public:
    DisplayCheck();
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    bool Reachable() const { return reachable_; }
    // Closes the connection once Qt has its own.
    void Release();

  private:
    bool XDisplayReachable();
    bool PlatformCanStart(const std::string& name);

    xcb_connection_t* x_ = nullptr;
    bool reachable_ = false;
};

// The "Error: ..." line for a start without a reachable display.
std::string NoDisplayLine();

}  // namespace tarvik
