#include "core/display.h"

namespace tarvik {
namespace {
DisplaySize g_display;
}

DisplaySize PrimaryDisplaySize() {
    return g_display;
}
void SetPrimaryDisplaySize(DisplaySize size) {
    g_display = size;
}

}  // namespace tarvik
