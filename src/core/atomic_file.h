// Files that appear whole or not at all. A TempFile lives in the target's
// own folder (so the final rename stays on one file system) and is removed
// unless committed; from before it exists until it is renamed or removed
// its path is registered, so that a signal handler can remove it before the
// process ends.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tarvik {

class TempFile {
  public:
    explicit TempFile(const std::string& finalPath);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool Ok() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    int Descriptor() const { return fd_; }

    // Renames the file over the final path. With kFlushToDisk the data reach
    // the disk first, so a power cut cannot leave an empty file behind the
    // name; image outputs skip that cost, a killed process is covered by the
    // rename alone.
    enum class Flush { kToDisk, kNone };
    bool Commit(Flush flush = Flush::kToDisk);

  private:
    void Discard();

    std::string finalPath_;
    std::string path_;
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
