// The theme list of the preferences: the installed themes sorted by
// identifier without regard to case, shown by display name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class QComboBox;

namespace tarvik {

std::vector<std::string> SortedThemeIds();

// Fills the list and selects the theme, else the first; "None" without themes.
void FillThemeList(QComboBox* list, std::string_view current);

// The identifier at a list index; "" when there is none.
std::string ThemeAt(int index);

}  // namespace tarvik
