#include "engine/jpeg_load.h"

namespace tarvik {

Bitmap LoadJpeg(const std::string& path) {
    return Bitmap(FreeImage_Load(FIF_JPEG, path.c_str(), JPEG_ACCURATE | JPEG_EXIFROTATE));
}

}  // namespace tarvik
