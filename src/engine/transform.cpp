#include "engine/transform.h"

#include "core/settings.h"

namespace tarvik {

std::uint32_t ParseColor(std::string_view) { return 0; }
Bitmap RotateImage(Bitmap bitmap) { return bitmap; }
int ResizeDimension(int value, int, int) { return value; }
FREE_IMAGE_FILTER ResizeFilter() { return FILTER_BICUBIC; }
Bitmap ResizeImage(Bitmap bitmap, int, int) { return bitmap; }
void FlipImage(FIBITMAP*) {}

}  // namespace tarvik
