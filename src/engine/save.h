// The save step: writes the final bitmap to Job.OutputFile safely.
#pragma once

#include <string>

#include "core/atomic_file.h"
#include "engine/bitmap.h"

namespace tarvik {

enum class SaveResult { Saved, SameAsInput, Failed };

// Refuses a path naming the input itself, creates missing folders, writes
// through a temporary file renamed over the final name, and makes the BMP
// header's size fields tell the truth.
SaveResult SaveOutputImage(FIBITMAP* bitmap, const std::string& path);

// Writes the bitmap in the format into the temporary file, through its
// descriptor; false when FreeImage or any write fails. A BMP's size fields
// are made to match what was written.
bool WriteImage(TempFile& file, FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, int flags);

// Creates every missing folder of the path's folder part.
bool CreateParentFolders(const std::string& path);

// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

// Patches bfSize (and biSizeImage of a compressed bitmap) of the BMP open
// on fd to match the file's real length.
bool FixBmpHeader(int fd);

}  // namespace tarvik
