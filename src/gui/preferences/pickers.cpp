#include "gui/preferences/pickers.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>

#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "core/catalog.h"
#include "core/text.h"

namespace tarvik {
namespace {

struct NamedColor {
    std::string_view Hex;
    std::string_view Key;
};

constexpr std::array<NamedColor, 19> kNamedColors = {{
    {"000000", "Black"},  {"C0C0C0", "Silver"}, {"808080", "Gray"},   {"FFFFFF", "White"},
    {"800000", "Maroon"}, {"FF0000", "Red"},    {"800080", "Purple"}, {"FF00FF", "Fuchsia"},
    {"008000", "Green"},  {"00FF00", "Lime"},   {"808000", "Olive"},  {"FFFF00", "Yellow"},
    {"000080", "Navy"},   {"0000FF", "Blue"},   {"008080", "Teal"},   {"00FFFF", "Aqua"},
    {"FF8000", "Orange"}, {"804000", "Brown"},  {"8000FF", "Violet"},
}};

constexpr std::uint32_t kByteMask = 0xFF;
constexpr int kGreenShift = 8;
constexpr int kBlueShift = 16;

}  // namespace

std::string ColorToHex(std::uint32_t color) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%02X%02X%02X", color & kByteMask,
                  (color >> kGreenShift) & kByteMask, (color >> kBlueShift) & kByteMask);
    return text.data();
}

QColor ToQColor(std::uint32_t color) {
    return {static_cast<int>(color & kByteMask),
            static_cast<int>((color >> kGreenShift) & kByteMask),
            static_cast<int>((color >> kBlueShift) & kByteMask)};
}

QString ColorName(std::string_view hex) {
    const std::string upper = UpperAscii(hex);
    for (const NamedColor& named : kNamedColors) {
        if (upper == named.Hex) {
            return QString::fromStdString(CatalogText("Preferences", named.Key));
        }
    }
    return QString::fromStdString(CatalogText("Preferences", "Color") + " #" + upper);
}

std::string CleanText(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    std::string clean;
    for (const char c : text) {
        if (c != '\t' && c != '\r' && c != '\n') {
            clean += c;
        }
    }
    return clean;
}

std::vector<std::string> RememberedEntries(std::string_view list) {
    std::vector<std::string> entries;
    if (Trim(list).empty()) {
        return entries;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        entries.emplace_back(Trim(list.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            return entries;
        }
        start = comma + 1;
    }
}

std::vector<std::pair<QString, QString>> WatermarkImageFilters() {
    const std::array<std::pair<QString, QString>, 3> types = {{
        {QStringLiteral("Portable Network Graphics"), QStringLiteral("*.png")},
        {QStringLiteral("Windows or OS/2 Bitmap"), QStringLiteral("*.bmp;*.rle;*.dib")},
        {QStringLiteral("JPEG File"), QStringLiteral("*.jpg;*.jpeg;*.jpe;*.jif")},
    }};
    QStringList all;
    for (const auto& type : types) {
        all << type.second;
    }
    std::vector<std::pair<QString, QString>> filters;
    filters.emplace_back(QString::fromStdString(CatalogText("Dialog", "All Supported Files")),
                         all.join(';'));
    filters.insert(filters.end(), types.begin(), types.end());
    filters.emplace_back(QString::fromStdString(CatalogText("Dialog", "All Files") + " (*.*)"),
                         QStringLiteral("*.*"));
    return filters;
}

QString FileDialogFilter(const std::vector<std::pair<QString, QString>>& filters) {
    QStringList parts;
    for (const auto& [description, patterns] : filters) {
        // A description that already shows its patterns keeps them as they are.
        const QString shown =
            description.endsWith(')') ? description.left(description.indexOf(" (")) : description;
        parts << shown + " (" + QString(patterns).replace(';', ' ') + ")";
    }
    return parts.join(QStringLiteral(";;"));
}

// The chooser selects a style by name and, for a family whose upright style
// is not called "Normal" (DejaVu's "Book"), falls on the first one listed,
// which may be "Oblique": name the upright style nearest to normal weight,
// the plainest (shortest) name among equals ("Book" before "Condensed").
QFont RegularFont(const QString& family, int points) {
    QFont font(family, points);
    QString best;
    std::pair<int, qsizetype> bestScore{INT_MAX, 0};
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont face = QFontDatabase::font(family, style, points);
        const std::pair<int, qsizetype> score{std::abs(face.weight() - QFont::Normal),
                                              style.size()};
        if (face.style() == QFont::StyleNormal && (best.isEmpty() || score < bestScore)) {
            best = style;
            bestScore = score;
        }
    }
    if (!best.isEmpty()) {
        font.setStyleName(best);
    }
    return font;
}

void HideFontEffects(QFontDialog& dialog) {
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (!group->findChildren<QCheckBox*>().isEmpty()) {
            group->hide();
        }
    }
}

Choosers QtChoosers() {
    Choosers choosers;
    choosers.Color = [](QWidget* parent, std::uint32_t initial) -> std::int64_t {
        const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
        if (!chosen.isValid()) {
            return -1;
        }
        return chosen.red() | (chosen.green() << kGreenShift) | (chosen.blue() << kBlueShift);
    };
    choosers.Font = [](QWidget* parent, const QString& family,
                       int points) -> std::optional<FontChoice> {
        QFontDialog dialog(RegularFont(family, points), parent);
        dialog.setOption(QFontDialog::DontUseNativeDialog);
        HideFontEffects(dialog);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        const QFont font = dialog.selectedFont();
        return FontChoice{font.family(), font.pointSize(),
                          (font.bold() ? kFontBold : 0) | (font.italic() ? kFontItalic : 0)};
    };
    choosers.OpenFile = [](QWidget* parent, const QString& title, const QString& initial,
                           const QString& filter) {
        return QFileDialog::getOpenFileName(parent, title, initial, filter);
    };
    return choosers;
}

}  // namespace tarvik
