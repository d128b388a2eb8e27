// Questions about paths that every front end and the engine ask.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace tarvik {

// An existing regular file of more than 0 bytes.
bool IsNonEmptyFile(const std::string& path);
// An existing folder.
bool IsFolder(const std::string& path);

// Which file a path reaches (device and inode, links followed): two names
// of one file, or one name in two letter cases on a file system that
// ignores case, give the same identity.
struct FileId {
    dev_t Device = 0;
    ino_t Inode = 0;
    auto operator<=>(const FileId&) const = default;
};
std::optional<FileId> FileIdOf(const std::string& path);

// The path in one form for comparing: absolute against the current folder,
// its folder with symbolic links and "." and ".." resolved as far as it
// exists and lexically beyond, its own name as written (a link to a file
// is another name, not the same one).
std::string NormalPath(const std::string& path);

}  // namespace tarvik
