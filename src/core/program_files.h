// Where the program's parts are, found from the folder of the running
// executable so that a build tree and an installed tree copied to any
// prefix both work. In a build tree every part lies beside the programs;
// installed, tarvik is in <prefix>/bin/, the window program and the drawing
// module in <prefix>/lib/tarvik/ and the data under <prefix>/share/.
// Each function takes that folder (ending in "/"): ExecutableFolder().
#pragma once

#include <string>

namespace tarvik {

// "<prefix>/" when programFolder is an installed program folder, empty in
// a build tree (or anywhere else, where the parts are looked for beside).
std::string InstalledPrefixOf(const std::string& programFolder);

std::string DrawingModulePathOf(const std::string& programFolder);
std::string FrontEndPathOf(const std::string& programFolder);
// The folder of the theme archives, ending in "/".
std::string ThemesFolderOf(const std::string& programFolder);
// index.html of the HTML user manual.
std::string ManualPathOf(const std::string& programFolder);

}  // namespace tarvik
