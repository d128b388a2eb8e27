#include "gui/images.h"

#include "gui/themes.h"

namespace tarvik {
namespace {

QPixmap Slot(const ImageSet& set, std::string_view name) {
    const auto it = set.find(name);
    return it != set.end() ? QPixmap::fromImage(it->second) : QPixmap();
}

}  // namespace

QIcon MenuIcon(std::string_view name) {
    QIcon icon;
    if (const QPixmap menu = Slot(MenuIcons, name); !menu.isNull()) {
        icon.addPixmap(menu);
    }
    return icon;
}

QIcon CommandIcon(std::string_view name) {
    QIcon icon = MenuIcon(name);
    const QPixmap toolbar = Slot(ToolbarIcons, name);
    // At 16 pixels the menu picture already serves the toolbar.
    if (!toolbar.isNull() && (icon.isNull() || toolbar.size() != QSize(16, 16))) {
        icon.addPixmap(toolbar);
    }
    return icon;
}

QPixmap ButtonPicture(std::string_view name) {
    return Slot(ButtonImages, name);
}

}  // namespace tarvik
