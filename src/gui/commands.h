// The command table of the main window: one number per command, shared by
// the menu, the toolbar, the field buttons and the keyboard shortcuts.
#pragma once

#include <QKeyCombination>

#include <span>
#include <string_view>

namespace tarvik {

enum CommandNumber : int {
    kCommandNew = 0,
    kCommandExit = 3,
    kCommandAddInputFile = 5,
    kCommandSelectOutputFolder = 7,
    kCommandFormatOptions = 8,
    kCommandConvert = 14,
    kCommandFindConverter = 16,
    kCommandPreferences = 17,
    kCommandManual = 18,
    kCommandFeedback = 21,
    kCommandHomepage = 22,
    kCommandCheckUpdates = 23,
    kCommandAbout = 24,
};

struct CommandRecord {
    int Number = 0;
    std::string_view MenuKey;  // catalog key in group "Menu": the item text and tooltip
    std::string_view Icon;     // picture name
    QKeyCombination Shortcut;  // none when empty
    bool Available = true;     // false: its window is not part of this build yet
};

std::span<const CommandRecord> CommandTable();
const CommandRecord* FindCommand(int number);

// Menus and the toolbar in order; kSeparator marks a divider.
inline constexpr int kSeparator = -1;
struct MenuRecord {
    std::string_view TitleKey;
    std::span<const int> Items;
};
std::span<const MenuRecord> MenuLayout();
std::span<const int> ToolbarLayout();

}  // namespace tarvik
