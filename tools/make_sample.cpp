// Writes the bundled demo photo: a generated landscape stored sideways with
// an EXIF orientation, so a correct conversion shows it upright.
#include <cstdio>

#include "fixtures/jpeg_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 1;
    }
    using namespace tarvik::fixtures;
    JpegSpec upright{.width = 1600, .height = 1200};
    FIBITMAP* scene = MakePatternBitmap(upright);
    // Stored turned a quarter to the left; orientation 6 turns it back.
    FIBITMAP* stored = scene != nullptr ? FreeImage_Rotate(scene, 90.0) : nullptr;
    FIMEMORY* mem = FreeImage_OpenMemory();
    bool ok = stored != nullptr && FreeImage_SaveToMemory(FIF_JPEG, stored, mem, 90);
    std::vector<std::uint8_t> bytes;
    if (ok) {
        BYTE* data = nullptr;
        DWORD size = 0;
        FreeImage_AcquireMemory(mem, &data, &size);
        bytes.assign(data, data + size);
        const std::vector<std::uint8_t> exif = ExifOrientationSegment(6);
        bytes.insert(bytes.begin() + 2, exif.begin(), exif.end());
        ok = WriteBytes(argv[1], bytes);
    }
    FreeImage_CloseMemory(mem);
    if (stored != nullptr) {
        FreeImage_Unload(stored);
    }
    if (scene != nullptr) {
        FreeImage_Unload(scene);
    }
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
