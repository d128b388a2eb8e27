// Files that appear whole or not at all. A TempFile is created in the
// target's own folder (so the final rename stays on one file system) and is
// written through its descriptor only, never reopened by name.
//
// Where the file system allows it the file has no name at all (O_TMPFILE)
// until it is complete, so a killed process leaves nothing behind. Elsewhere
// it gets a short hidden name; from before it exists until it is renamed or
// removed that name is registered, so that a signal handler can remove it
// before the process ends. Names are used relative to the folder, so a
// target whose full path is near PATH_MAX, or whose name is as long as the
// file system allows, still saves.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tarvik {

class TempFile {
  public:
    // kAny tries an unnamed file first; kNamed goes straight to the named
    // one, as on a file system that refuses unnamed files.
    enum class Kind { kAny, kNamed };

    explicit TempFile(const std::string& finalPath, Kind kind = Kind::kAny);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool Ok() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    bool Unnamed() const { return Ok() && name_.empty(); }
    // The hidden name in the target's folder; empty for an unnamed file.
    const std::string& Name() const { return name_; }

    // Gives the file the final name, replacing what was there. With
    // kToDisk the data reach the disk first, so a power cut cannot leave an
    // empty file behind the name; image outputs skip that cost, a killed
    // process is covered by the rename alone. Fails, keeping the old file,
    // when the flush or the close reports an error.
    enum class Flush { kToDisk, kNone };
    bool Commit(Flush flush = Flush::kToDisk);

  private:
    bool OpenUnnamed();
    bool OpenNamed();
    bool LinkUnnamed();
    void Discard();

    std::string finalName_;  // relative to folderFd_
    std::string name_;       // the hidden name while one exists
    int folderFd_ = -1;
    int fd_ = -1;
    int slot_ = -1;  // its place in the registry the signal handler reads
};

// Writes bytes to path through a TempFile.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         TempFile::Flush flush = TempFile::Flush::kToDisk);

// Writes all bytes to an open descriptor, retrying short writes.
bool WriteAll(int fd, const void* data, std::size_t size);

// Removes the temporary files still registered; async-signal-safe.
void RemovePendingTempFiles() noexcept;

}  // namespace tarvik
