#include "app/window_mode.h"

#include "core/catalog.h"
#include "core/console.h"

namespace tarvik {

int EnterWindowMode() {
    BuildCatalog();
    ConsoleErrorLine(CatalogText("Console", "Window unavailable"));
    return 1;
}

int EnterSpecialMode(const std::string&, const std::string&) {
    return EnterWindowMode();
}

}  // namespace tarvik
