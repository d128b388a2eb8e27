#include "gui/preferences/theme_list.h"

#include <QComboBox>

#include <algorithm>

#include "core/catalog.h"
#include "core/text.h"
#include "gui/themes.h"

namespace tarvik {

std::vector<std::string> SortedThemeIds() {
    std::vector<std::string> ids;
    for (const auto& [id, name] : ThemeNames) {
        ids.push_back(id);
    }
    std::stable_sort(ids.begin(), ids.end(), [](const std::string& a, const std::string& b) {
        return LowerAscii(a) < LowerAscii(b);
    });
    return ids;
}

void FillThemeList(QComboBox* list, std::string_view current) {
    list->clear();
    const std::vector<std::string> ids = SortedThemeIds();
    if (ids.empty()) {
        list->addItem(QString::fromStdString(CatalogText("Preferences", "None")));
        list->setCurrentIndex(0);
        return;
    }
    int selected = 0;
    for (const std::string& id : ids) {
        const std::string& name = ThemeNames.at(id);
        if (name.empty()) {
            continue;
        }
        if (id == current) {
            selected = list->count();
        }
        list->addItem(QString::fromStdString(name));
    }
    list->setCurrentIndex(list->count() > 0 ? selected : -1);
}

std::string ThemeAt(int index) {
    const std::vector<std::string> ids = SortedThemeIds();
    if (index < 0 || index >= static_cast<int>(ids.size())) {
        return {};
    }
    return ids[static_cast<std::size_t>(index)];
}

}  // namespace tarvik
