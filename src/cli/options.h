// The conversion options of the command line (and, with their profile
// keys, of profile files): words, readers and switch side effects, all
// taken from the settings table.
#pragma once

#include <string>
#include <string_view>

#include "core/settings_table.h"

namespace tarvik {

// The row whose option word equals the upper-cased name, or null.
const SettingRow* FindOptionRow(std::string_view upperName);
// The row whose profile key equals the upper-cased key, or null.
const SettingRow* FindProfileRow(std::string_view upperKey);

// Whether the row's option takes no value.
bool IsFlagOption(const SettingRow& row);

// Applies the side effect, then reads value with the row's reader and
// stores it. fromProfile selects the profile's text rules.
void ApplyOptionValue(const SettingRow& row, std::string_view value, bool fromProfile);

}  // namespace tarvik
