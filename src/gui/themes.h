// The pictures of the window front end: the built-in set and the theme
// archives that replace it. Every picture lives in a named slot for the
// life of the process; a reload replaces the picture in its slot.
#pragma once

#include <QImage>

#include <array>
#include <map>
#include <string>
#include <string_view>

namespace tarvik {

inline constexpr std::array<std::string_view, 3> kButtonNames = {"Convert", "InFiles", "InFolder"};
inline constexpr std::array<std::string_view, 22> kIconNames = {"New",
                                                                "Add",
                                                                "InFiles",
                                                                "InFolder",
                                                                "OutFolder",
                                                                "OutFormat",
                                                                "FavFolder",
                                                                "ImportFiles",
                                                                "ExportFiles",
                                                                "Exit",
                                                                "Copy",
                                                                "Delete",
                                                                "SelectAll",
                                                                "Convert",
                                                                "Error",
                                                                "Preferences",
                                                                "CustomConverter",
                                                                "Help",
                                                                "Email",
                                                                "Web",
                                                                "Updates",
                                                                "About"};

using ImageSet = std::map<std::string, QImage, std::less<>>;
extern ImageSet ButtonImages, MenuIcons, ToolbarIcons;  // QImage slots by name
extern QImage AboutBanner;
extern std::map<std::string, std::string> ThemeNames;

// Pixels of a toolbar icon for [Interface] UI Size: 16, 24, 32, 48, 64.
int IconPixelSize(int sizeIndex);
void LoadBuiltInImages();
void ScanThemes();
void LoadThemeImages(bool buttons, bool menuIcons, bool toolbarIcons);
std::string ThemesFolder();

}  // namespace tarvik
