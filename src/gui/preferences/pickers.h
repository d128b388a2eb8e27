// The colour, font and picture pickers of the preferences: colour texts and
// names, the cleaned texts OK stores, the watermark picture filter, and the
// choosers themselves behind small replaceable function objects.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QFontDialog;
class QWidget;

namespace tarvik {

// Colour value (red in bits 0-7, green 8-15, blue 16-23) to "RRGGBB".
std::string ColorToHex(std::uint32_t color);

// A colour value as a Qt colour.
QColor ToQColor(std::uint32_t color);

// The name a colour list shows: a named colour's catalog text, else
// "Color #RRGGBB".
QString ColorName(std::string_view hex);

// Spaces trimmed at both ends, then every tab, CR and LF removed.
std::string CleanText(std::string_view text);

// The comma-separated entries of a remembered list, trimmed.
std::vector<std::string> RememberedEntries(std::string_view list);

// Font Style values as the font chooser reports them.
inline constexpr int kFontBold = 256;
inline constexpr int kFontItalic = 512;

struct FontChoice {
    QString Family;
    int Points = 0;
    int Style = 0;  // kFontBold | kFontItalic
};

// The watermark picture filter: description and patterns, first selected.
std::vector<std::pair<QString, QString>> WatermarkImageFilters();
// The same in the file dialog's form, "Name (*.a *.b);;...".
QString FileDialogFilter(const std::vector<std::pair<QString, QString>>& filters);

// What each chooser returns; the defaults open the Qt dialogs.
struct Choosers {
    // Initial colour value in; the chosen one out, or -1 when cancelled.
    std::function<std::int64_t(QWidget* parent, std::uint32_t initial)> Color;
    std::function<std::optional<FontChoice>(QWidget* parent, const QString& family, int points)>
        Font;
    // Title, initial path and filter in; the chosen path or "" out.
    std::function<QString(QWidget* parent, const QString& title, const QString& initial,
                          const QString& filter)>
        OpenFile;
};

Choosers QtChoosers();

// The family's upright style of normal weight, as the font chooser's start.
QFont RegularFont(const QString& family, int points);

// The font chooser shows what the watermark takes: family, style and size,
// without the strikeout and underline boxes (the Font Effect list sets
// those).
void HideFontEffects(QFontDialog& dialog);

}  // namespace tarvik
