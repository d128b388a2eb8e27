#include "gui/themes.h"

#include <QColor>

#include "core/job.h"
#include "core/settings.h"

// Stand-in picture set: plain coloured squares of the right sizes until the
// drawn artwork and the theme archives arrive.
namespace tarvik {

ImageSet ButtonImages, MenuIcons, ToolbarIcons;
QImage AboutBanner;
std::map<std::string, std::string> ThemeNames;

namespace {

QImage Plain(int width, int height, std::size_t seed) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor::fromHsv(static_cast<int>((seed * 37) % 360), 150, 200));
    return image;
}

}  // namespace

int IconPixelSize(int sizeIndex) {
    constexpr std::array<int, 5> kPixels = {16, 24, 32, 48, 64};
    return sizeIndex >= 0 && sizeIndex < static_cast<int>(kPixels.size())
               ? kPixels[static_cast<std::size_t>(sizeIndex)]
               : 16;
}

void LoadBuiltInImages() {
    for (std::size_t i = 0; i < kButtonNames.size(); ++i) {
        const int size = kButtonNames[i] == "Convert" ? 64 : 48;
        ButtonImages[std::string(kButtonNames[i])] = Plain(size, size, i);
    }
    for (std::size_t i = 0; i < kIconNames.size(); ++i) {
        MenuIcons[std::string(kIconNames[i])] = Plain(16, 16, i);
        ToolbarIcons[std::string(kIconNames[i])] = Plain(16, 16, i);
    }
    AboutBanner = Plain(360, 40, 0);
}

void ScanThemes() {
    ThemeNames.clear();
}

void LoadThemeImages(bool, bool, bool toolbarIcons) {
    if (!toolbarIcons) {
        return;
    }
    const int size = IconPixelSize(Settings.Interface.UiSize);
    for (std::size_t i = 0; i < kIconNames.size(); ++i) {
        ToolbarIcons[std::string(kIconNames[i])] = Plain(size, size, i);
    }
}

std::string ThemesFolder() {
    return Job.ProgramFolder + "gfx/";
}

}  // namespace tarvik
