#include "gui/commands.h"

#include <array>

namespace tarvik {
namespace {

constexpr QKeyCombination kNone{};

// clang-format off
constexpr std::array<CommandRecord, 13> kCommands = {{
    {kCommandNew, "New", "New", QKeyCombination(Qt::CTRL, Qt::Key_N)},
    {kCommandExit, "Exit", "Exit", QKeyCombination(Qt::ALT, Qt::Key_X)},
    {kCommandAddInputFile, "Select Input File", "Add", QKeyCombination(Qt::CTRL, Qt::Key_O)},
    {kCommandSelectOutputFolder, "Select Output Folder", "OutFolder", kNone},
    {kCommandFormatOptions, "Output Format Options", "OutFormat", kNone},
    {kCommandConvert, "Convert", "Convert", QKeyCombination(Qt::Key_F5)},
    {kCommandFindConverter, "Custom Converter", "CustomConverter", kNone},
    {kCommandPreferences, "Preferences", "Preferences", QKeyCombination(Qt::CTRL, Qt::Key_Comma)},
    {kCommandManual, "Manual", "Help", QKeyCombination(Qt::Key_F1)},
    {kCommandFeedback, "Send Feedback", "Email", kNone},
    {kCommandHomepage, "Visit Homepage", "Web", kNone},
    {kCommandCheckUpdates, "Check For New Version", "Updates", kNone},
    {kCommandAbout, "About", "About", kNone},
}};

constexpr std::array<int, 6> kFileItems = {kCommandNew, kSeparator, kCommandAddInputFile,
                                   kCommandSelectOutputFolder, kSeparator, kCommandExit};
constexpr std::array<int, 5> kConverterItems = {kCommandConvert, kSeparator, kCommandFindConverter,
                                        kSeparator, kCommandPreferences};
constexpr std::array<int, 7> kHelpItems = {kCommandManual, kSeparator, kCommandFeedback,
                                   kCommandHomepage, kCommandCheckUpdates, kSeparator,
                                   kCommandAbout};
const std::array<MenuRecord, 3> kMenus = {{
    {"File", kFileItems},
    {"Converter", kConverterItems},
    {"Help", kHelpItems},
}};

constexpr std::array<int, 12> kToolbarItems = {
    kCommandNew, kCommandAddInputFile, kCommandSelectOutputFolder, kSeparator,
    kCommandPreferences, kSeparator, kCommandConvert, kSeparator,
    kCommandManual, kCommandFeedback, kCommandHomepage, kCommandCheckUpdates};
// clang-format on

}  // namespace

std::span<const CommandRecord> CommandTable() {
    return kCommands;
}

const CommandRecord* FindCommand(int number) {
    for (const CommandRecord& command : kCommands) {
        if (command.Number == number) {
            return &command;
        }
    }
    return nullptr;
}

std::span<const MenuRecord> MenuLayout() {
    return kMenus;
}

std::span<const int> ToolbarLayout() {
    return kToolbarItems;
}

}  // namespace tarvik
