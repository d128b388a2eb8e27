// Whether the window can reach a display, asked before the application
// object is made: Qt's X11 platform ends the process with an abort when it
// cannot connect, so window mode without a display (over ssh, or a script
// that forgot -i) would end in a core dump instead of a message.
#pragma once

#include <string>

namespace tarvik {

// True when one of the platforms Qt would try can start: an X display that
// accepts a connection, a Wayland socket (with Qt's Wayland platform
// installed), or a platform that needs no display (offscreen and the like).
bool DisplayReachable();

// The "Error: ..." line for a start without a reachable display.
std::string NoDisplayLine();

}  // namespace tarvik
