#include "core/settings.h"

#include "core/clock.h"
#include "core/display.h"
#include "core/formats.h"
#include "core/settings_table.h"

namespace tarvik {

SettingsRecord Settings;

namespace {

std::string FirstOf(const std::vector<std::string>& list) {
    return list.empty() ? std::string() : list.front();
}

// Centred on the primary display when it is larger than the window.
int Centred(int display, int window) {
    return display > window ? (display - window) / 2 : 100;
}

}  // namespace

std::string DefaultText(const SettingRow& row, bool forCommandLine) {
    if (forCommandLine && !row.cliDef.empty()) {
        return std::string(row.cliDef);
    }
    if (row.def == kDefaultNow) {
        return std::to_string(LocalNow());
    }
    if (row.def == kDefaultFirstInputFormat) {
        return FirstOf(InputFormats);
    }
    if (row.def == kDefaultFirstOutputFormat) {
        return FirstOf(OutputFormats);
    }
    return std::string(row.def);
}

void ResetSettings(bool forCommandLine) {
    SettingsRecord fresh;
    fresh.ConfigFilePath = Settings.ConfigFilePath;  // not a setting: a reset keeps it
    for (const SettingRow& row : SettingRows()) {
        // The centred position depends on the size, which is set first.
        if (row.def == kDefaultCentreX || row.def == kDefaultCentreY) {
            continue;
        }
        SetFieldText(row.field, fresh, DefaultText(row, forCommandLine));
    }
    const DisplaySize display = PrimaryDisplaySize();
    fresh.Window.X = Centred(display.Width, fresh.Window.Width);
    fresh.Window.Y = Centred(display.Height, fresh.Window.Height);
    Settings = std::move(fresh);
}

}  // namespace tarvik
