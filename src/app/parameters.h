// The core command-line syntax: parameters, option names and values.
#pragma once

#include <string>
#include <vector>

namespace tarvik {

// The parameters after the program's name, double quotes removed.
extern std::vector<std::string> Parameters;

void SetParameters(int argc, char** argv);

// "" for a plain word; the text before "=" of a long option; upper-cased.
std::string OptionName(std::size_t i);
// The text after the first "=" of a long option, else the whole parameter.
std::string OptionValue(std::size_t i);

}  // namespace tarvik
