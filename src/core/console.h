// The console line printer. Status and debug lines go to standard output,
// error lines to standard error; every line ends with LF and is flushed.
#pragma once

#include <string_view>

namespace tarvik {

void ConsoleLine(std::string_view line);
void ConsoleErrorLine(std::string_view line);

}  // namespace tarvik
