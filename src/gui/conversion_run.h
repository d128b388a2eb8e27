// The Convert command: the job is taken from the window, checked, and run
// under the progress window.
#pragma once

#include "gui/main_controls.h"

namespace tarvik {

// Shows the first failed check as a warning and returns; otherwise runs
// the conversion and returns when its progress window has been closed.
void StartConversion(const MainControls& controls);

}  // namespace tarvik
