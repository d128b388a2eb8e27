// Pictures of the window front end: the built-in set compiled into the
// program, and zip theme archives that replace them.
#pragma once

#include <QImage>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tarvik {

inline constexpr std::array<std::string_view, 3> kButtonNames = {"Convert", "InFiles", "InFolder"};
// The icon names in their fixed order; the menu and toolbar sets share them.
inline constexpr std::array<std::string_view, 22> kIconNames = {
    // clang-format off
    "New", "Add", "InFiles", "InFolder", "OutFolder", "OutFormat", "FavFolder", "ImportFiles",
    "ExportFiles", "Exit", "Copy", "Delete", "SelectAll", "Convert", "Error", "Preferences",
    "CustomConverter", "Help", "Email", "Web", "Updates", "About"};
// clang-format on

// Limits on what a theme archive may make the program read. The largest
// picture the program asks for is 64 x 64; these leave ample room for that and
// bound the memory and time a hostile archive can cost.
inline constexpr std::uint64_t kMaxThemeArchiveBytes = std::uint64_t{32} << 20;
inline constexpr std::uint64_t kMaxThemePngBytes = std::uint64_t{4} << 20;
inline constexpr std::uint64_t kMaxThemeCfgBytes = std::uint64_t{64} << 10;
inline constexpr std::uint64_t kMaxThemeLoadBytes = std::uint64_t{32} << 20;  // per load
inline constexpr int kMaxThemeMembers = 4096;
inline constexpr int kMaxThemePictureSide = 1024;
// The display name is read from the first bytes of theme.cfg only.
inline constexpr std::size_t kThemeNameBufferBytes = 255;

// QImage, not QPixmap: usable before or without a QApplication.
using ImageSet = std::map<std::string, QImage, std::less<>>;

extern ImageSet ButtonImages;  // "Convert" 64x64, "InFiles"/"InFolder" 48x48 built-in
extern ImageSet MenuIcons;     // 16x16
extern ImageSet ToolbarIcons;  // IconPixelSize([Interface] UI Size)
extern QImage AboutBanner;     // 360x40, not part of a theme
extern std::map<std::string, std::string> ThemeNames;  // identifier -> display name

// 0..4 -> 16, 24, 32, 48, 64; any other index -> 16.
int IconPixelSize(int sizeIndex);
void LoadBuiltInImages();
void ScanThemes();
std::string ReadThemeName(const std::string& identifier);
std::string ReadThemeValue(std::string_view text, std::string_view group, std::string_view key);
std::string TrimValue(std::string_view text);
void LoadThemeImages(bool buttons, bool menuIcons, bool toolbarIcons);

// The folder holding the theme archives, ending in "/": ThemesFolderOf the
// program's folder. The environment variable TARVIK_THEMES_DIR, when set
// and not empty, names the folder instead (tests use it).
std::string ThemesFolder();

}  // namespace tarvik
