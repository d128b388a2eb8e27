// The primary display's size, told to the core by the window front end so
// that the default window position can be centred. 0 x 0 without a display.
#pragma once

namespace tarvik {

struct DisplaySize {
    int Width = 0;
    int Height = 0;
};

DisplaySize PrimaryDisplaySize();
void SetPrimaryDisplaySize(DisplaySize size);

}  // namespace tarvik
