// Hand-over to the window front end, which lives in a separately loaded
// module so that the command-line program links no GUI toolkit.
#pragma once

#include <string>

namespace tarvik {

int EnterWindowMode();
// -U (uninstall feedback) and -T (screenshot mode, with its value).
int EnterSpecialMode(const std::string& mode, const std::string& value);

}  // namespace tarvik
