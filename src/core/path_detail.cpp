#include "core/path_detail.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/catalog.h"
#include "core/job.h"

namespace tarvik {
namespace {

std::string Cause(std::string_view key) {
    return CatalogText("Msg", key);
}

// The cause of a path that exists but is not a non-empty regular file.
std::string NotAFileCause(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) {
        return Cause("Path is a folder");
    }
    if (!S_ISREG(st.st_mode)) {
        return Cause("Path not a file");
    }
    return st.st_size == 0 ? Cause("Path is empty") : std::string();
}

}  // namespace

std::string ErrorCause(int error) {
    switch (error) {
        case 0:
            return {};
        case ENOENT:
            return Cause("Path missing");
        case EACCES:
        case EPERM:
            return Cause("Path not allowed");
        case ENOTDIR:
            return Cause("Path through a file");
        default:
            // Rare causes keep the system's own words.
            return std::strerror(error);
    }
}

std::string FileCause(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return ErrorCause(errno);
    }
    return NotAFileCause(st);
}

std::string FolderCause(const std::string& path) {
    // Without its last separator a file is "not a folder" rather than a
    // path through a file.
    std::string bare = path;
    while (bare.size() > 1 && bare.back() == '/') {
        bare.pop_back();
    }
    struct stat st {};
    if (stat(bare.c_str(), &st) != 0) {
        return ErrorCause(errno);
    }
    return S_ISDIR(st.st_mode) ? std::string() : Cause("Path not a folder");
}

std::string ReadableFileCause(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return ErrorCause(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return Cause("Path is a folder");
    }
    if (!S_ISREG(st.st_mode)) {
        return Cause("Path not a file");
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return ErrorCause(errno);
    }
    close(fd);
    return {};
}

std::string AcceptedExtensionsText() {
    std::string text;
    for (const std::string& extension : AcceptedInputExtensions) {
        text += (text.empty() ? "." : ", .") + extension;
    }
    return text;
}

std::string QuotedPattern(std::string_view pattern) {
    return FillPlaceholdersOnce(Cause("Path pattern"), pattern);
}

std::string PathDetailLine(std::string_view shownPath, std::string_view cause) {
    return FillPlaceholdersOnce(Cause("Path detail"), shownPath, cause);
}

}  // namespace tarvik
