// Output colour depth and the BMP writer with an exact colour table.
#pragma once

#include <string>

#include "engine/bitmap.h"

namespace tarvik {

// Brings the bitmap to Job.OutputBpp bits, first filling in the automatic
// choice when Job.AutoBpp is set. An unknown depth yields no bitmap.
Bitmap ApplyOutputDepth(Bitmap bitmap);

// The two halves of ApplyOutputDepth, which read only what stays the same
// for a whole run, so that several files can be brought to their depth at
// once: the depth for an image loaded at sourceBpp (Job.OutputBpp or the
// automatic choice), and the conversion to it.
int OutputBppFor(int sourceBpp);
Bitmap ConvertToOutputDepth(Bitmap bitmap, int bpp);

// The largest palette index used by the pixels, plus one (1..256).
int UsedPaletteSize(FIBITMAP* bitmap);

// Writes an 8-bit BMP whose colour table holds only the entries used.
bool SaveBmpExactColorTable(FIBITMAP* bitmap, const std::string& path);

}  // namespace tarvik
