#include "core/program_files.h"

#include <string_view>

#include "core/files.h"

// The installed folders, relative to the prefix, come from the build's
// install rules (cmake/layout.cmake).
#ifndef TARVIK_INSTALL_BINDIR
#error "TARVIK_INSTALL_BINDIR must name the installed folder of tarvik"
#endif

namespace tarvik {
namespace {

constexpr std::string_view kBinFolder = TARVIK_INSTALL_BINDIR "/";
constexpr std::string_view kPrivateFolder = TARVIK_INSTALL_PRIVATEDIR "/";
constexpr std::string_view kThemesFolder = TARVIK_INSTALL_THEMESDIR "/";
constexpr std::string_view kManualFolder = TARVIK_INSTALL_MANUALDIR "/";

constexpr std::string_view kDrawingModuleFile = "libtarvik-draw.so";
constexpr std::string_view kFrontEndFile = "tarvik-gui";
constexpr std::string_view kManualFile = "index.html";
// In a build tree, beside the programs.
constexpr std::string_view kBuildThemesFolder = "gfx/";
constexpr std::string_view kBuildManualFolder = "manual/";

// The prefix when folder is <prefix>/<sub>, else empty.
std::string PrefixBefore(const std::string& folder, std::string_view sub) {
    if (folder.size() <= sub.size() || !folder.ends_with(sub) ||
        folder[folder.size() - sub.size() - 1] != '/') {
        return {};
    }
    return folder.substr(0, folder.size() - sub.size());
}

// Where an installed part is, or beside the program in a build tree.
std::string PartPath(const std::string& programFolder, std::string_view installedFolder,
                     std::string_view buildFolder, std::string_view file) {
    const std::string prefix = InstalledPrefixOf(programFolder);
    return (prefix.empty() ? programFolder + std::string(buildFolder)
                           : prefix + std::string(installedFolder)) +
           std::string(file);
}

}  // namespace

std::string InstalledPrefixOf(const std::string& programFolder) {
    if (std::string prefix = PrefixBefore(programFolder, kPrivateFolder); !prefix.empty()) {
        return prefix;
    }
    // A build folder may happen to be called bin/ too: an installed bin/
    // has the private folder beside it.
    std::string prefix = PrefixBefore(programFolder, kBinFolder);
    return !prefix.empty() && IsFolder(prefix + std::string(kPrivateFolder)) ? prefix
                                                                             : std::string();
}

std::string DrawingModulePathOf(const std::string& programFolder) {
    return PartPath(programFolder, kPrivateFolder, "", kDrawingModuleFile);
}

std::string FrontEndPathOf(const std::string& programFolder) {
    return PartPath(programFolder, kPrivateFolder, "", kFrontEndFile);
}

std::string ThemesFolderOf(const std::string& programFolder) {
    return PartPath(programFolder, kThemesFolder, kBuildThemesFolder, "");
}

std::string ManualPathOf(const std::string& programFolder) {
    return PartPath(programFolder, kManualFolder, kBuildManualFolder, kManualFile);
}

}  // namespace tarvik
