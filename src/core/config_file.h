// The per-user configuration file config.ini of window mode: where it
// lives, how the settings table is written to it and read back, and the
// upgrades of files written by older versions. A command-line job never
// touches it.
#pragma once

#include <string>
#include <string_view>

#include "core/ini_text.h"
#include "core/settings.h"

namespace tarvik {

inline constexpr std::string_view kConfigFileName = "config.ini";

// $XDG_CONFIG_HOME (or ~/.config) + brand + "/" + shortName + "/"; missing
// folders are created, failures are not reported.
std::string ConfigFolder(std::string_view brand, std::string_view shortName);

// ConfigFolder of the product + "config.ini".
std::string ConfigFilePath();

// Fills every INI-backed field of Settings from Settings.ConfigFilePath;
// without a readable file, the window defaults. Then the CFG upgrades.
void LoadSettings();

// Writes Settings to Settings.ConfigFilePath as a whole new file, or leaves
// the old one untouched; false when nothing was written (not reported).
bool SaveSettings();

// The exact bytes SaveSettings writes for a record.
std::string SettingsFileText(const SettingsRecord& s);

// Reads a parsed file into a record: present keys by their readers,
// missing keys with the file's defaults; then the upgrades.
void ReadSettingsFrom(const IniText& ini, SettingsRecord& s);

}  // namespace tarvik
