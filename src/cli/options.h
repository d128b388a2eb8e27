// The conversion options of the command line (and, with their profile
// keys, of profile files): words, readers and switch side effects, all
// taken from the settings table.
#pragma once

#include <string>
#include <string_view>

#include "core/settings_table.h"

namespace tarvik {

// The row whose option word equals the name (any case), or null.
const SettingRow* FindOptionRow(std::string_view name);
// The row whose profile key equals the key (any case), or null. The
// profile spells some keys differently from the command line.
const SettingRow* FindProfileRow(std::string_view key);

// Whether the row's option takes no value.
bool IsFlagOption(const SettingRow& row);

// Applies the side effect, then reads value with the row's reader and
// stores it. fromProfile selects the profile's text rules.
void ApplyOptionValue(const SettingRow& row, std::string_view value, bool fromProfile);

enum class OptionStatus { Unknown, Applied, BadValue };

// One conversion option of the command line, by its word and its value
// text. A flag ignores the value; any other option refuses an empty value
// and one beginning with "--" (a single "-" is a sign).
OptionStatus ApplyConversionOption(std::string_view name, std::string_view value);

}  // namespace tarvik
