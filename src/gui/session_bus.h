// The desktop's session bus, asked before Qt starts. Qt waits for the bus
// without a bound when it builds the menu bar and the screen-reader bridge,
// so a bus that takes connections but does not answer held the window back
// for as long as it stayed silent.
#pragma once

#include <chrono>

namespace tarvik {

// True when DBUS_SESSION_BUS_ADDRESS names a local bus that takes the
// connection but does not answer the first step of its greeting within
// bound. A bus that is not set, not there or not local is not stalling:
// Qt finds out at once itself.
bool SessionBusStalls(std::chrono::milliseconds bound);

// Points this process (and the programs it starts) at no session bus.
void LeaveSessionBus();

}  // namespace tarvik
