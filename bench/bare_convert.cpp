// The benchmark's baseline: FreeImage's own JPEG load and BMP save with the
// load flags tarvik uses, optionally rescaled, and nothing else.
//   tarvik-bare-convert IN.jpg OUT.bmp [PERCENT]
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "engine/bitmap.h"
#include "engine/jpeg_load.h"

namespace {

tarvik::Bitmap Rescale(tarvik::Bitmap dib, int percent) {
    const int width = static_cast<int>(FreeImage_GetWidth(dib.get())) * percent / 100;
    const int height = static_cast<int>(FreeImage_GetHeight(dib.get())) * percent / 100;
    return tarvik::Bitmap(FreeImage_Rescale(dib.get(), width, height, FILTER_BICUBIC));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s IN.jpg OUT.bmp [PERCENT]\n", argv[0]);
        return 2;
    }
    tarvik::Bitmap dib(FreeImage_Load(FIF_JPEG, argv[1], tarvik::kJpegLoadFlags));
    if (dib && argc == 4) {
        dib = Rescale(std::move(dib), std::atoi(argv[3]));
    }
    return dib && FreeImage_Save(FIF_BMP, dib.get(), argv[2], BMP_DEFAULT) ? 0 : 1;
}
