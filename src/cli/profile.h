// Profile files: a set of conversion options in the config file's text
// format, group [CLI], long option words as keys.
#pragma once

#include <string>

namespace tarvik {

bool LoadProfile(const std::string& path);

}  // namespace tarvik
