// Questions about paths that every front end and the engine ask.
#pragma once

#include <string>

namespace tarvik {

// An existing regular file of more than 0 bytes.
bool IsNonEmptyFile(const std::string& path);
// An existing folder.
bool IsFolder(const std::string& path);

}  // namespace tarvik
