#include "gui/shutdown.h"

#include <QWidget>

#include "core/config_file.h"
#include "core/settings.h"

namespace tarvik {

void StoreWindowGeometry(const QWidget& window) {
    if (window.isMaximized()) {
        Settings.Window.IsMaximized = 1;
        return;
    }
    if (window.isMinimized()) {
        return;
    }
    Settings.Window.IsMaximized = 0;
    Settings.Window.Width = window.width();
    Settings.Window.Height = window.height();
    Settings.Window.X = window.x();
    Settings.Window.Y = window.y();
}

void ApplyHistoryRule() {
    if (Settings.Advanced.OutFoldersHistory == 0) {
        Settings.File.RecentOutFolders.clear();
    }
}

bool SaveWindowSettings(const QWidget& window) {
    StoreWindowGeometry(window);
    ApplyHistoryRule();
    return SaveSettings();
}

}  // namespace tarvik
