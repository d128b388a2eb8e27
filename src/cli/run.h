// The command-line conversion run: checks the job in a fixed order, prints
// the debug and status lines, converts, and prints the totals.
#pragma once

#include <string_view>

namespace tarvik {

// Process exit status of a run.
enum RunStatus : int {
    kRunAllConverted = 0,
    kRunError = 1,       // an "Error: " line was printed
    kRunIncomplete = 2,  // some or all inputs were not converted
};

int RunCommandLineConversion(bool quiet);

// Prints "Error: " and the catalog text of group "Console", key key, on
// standard error, followed by the detail line naming the file or folder
// and the cause when there is one; printed also when quiet.
void PrintErrorLine(std::string_view key, std::string_view detail = {});

}  // namespace tarvik
