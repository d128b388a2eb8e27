// What window mode keeps when the main window closes: its geometry, the
// output-folder history rule, and config.ini.
#pragma once

class QWidget;

namespace tarvik {

// Maximised: remembered as such, the normal geometry kept; minimised:
// nothing changes; otherwise the current size and position.
void StoreWindowGeometry(const QWidget& window);

// Without [Advanced] Out Folders History the history is not kept.
void ApplyHistoryRule();

// The three steps in order, then the settings saved; false when the file
// could not be written.
bool SaveWindowSettings(const QWidget& window);

}  // namespace tarvik
