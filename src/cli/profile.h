// Profile files: a set of conversion options in the config file's text
// format, group [CLI], long option words (with their dashes) as keys.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

inline constexpr std::string_view kProfileGroup = "CLI";

// Applies the keys of the file's [CLI] group to Settings in file order,
// with the options' readers and side effects. False for an empty path or
// an unreadable file; a file without the group changes nothing.
bool LoadProfile(const std::string& path);

}  // namespace tarvik
