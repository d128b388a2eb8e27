#include "core/files.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace tarvik {

bool IsNonEmptyFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<FileId> FileIdOf(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return FileId{st.st_dev, st.st_ino};
}

std::string NormalPath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path absolute = fs::absolute(fs::path(path), error);
    if (error) {
        return fs::path(path).lexically_normal().string();
    }
    // "a/.." and "a/." name folders: resolved whole. A name keeps its own
    // spelling, so a link to a file stays another name.
    const fs::path name = absolute.filename();
    const bool plainName = !name.empty() && name != "." && name != "..";
    const fs::path folder = plainName ? absolute.parent_path() : absolute;
    fs::path resolved = fs::weakly_canonical(folder, error);
    if (error) {
        resolved = folder.lexically_normal();
    }
    return (plainName ? resolved / name : resolved).string();
}

}  // namespace tarvik
