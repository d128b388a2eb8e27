// Icons and pictures for widgets, made from the named picture slots.
#pragma once

#include <QIcon>
#include <QPixmap>

#include <string_view>

namespace tarvik {

// The 16-pixel menu icon of a name.
QIcon MenuIcon(std::string_view name);
// The menu icon together with the toolbar icon, so menus, the toolbar and
// the small field buttons each pick their own size from one icon.
QIcon CommandIcon(std::string_view name);
// A large button picture.
QPixmap ButtonPicture(std::string_view name);

}  // namespace tarvik
