// The benchmark's baseline: FreeImage's own JPEG load and BMP save with the
// load flags tarvik uses, optionally rescaled, and nothing else.
//   tarvik-bare-convert IN.jpg OUT.bmp [PERCENT]
//   tarvik-bare-convert --each OUT_FOLDER IN.jpg...   (one file after the
//                                                      other, in one process)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "engine/bitmap.h"
#include "engine/jpeg_load.h"

namespace {

tarvik::Bitmap Rescale(tarvik::Bitmap dib, int percent) {
    const int width = static_cast<int>(FreeImage_GetWidth(dib.get())) * percent / 100;
    const int height = static_cast<int>(FreeImage_GetHeight(dib.get())) * percent / 100;
    return tarvik::Bitmap(FreeImage_Rescale(dib.get(), width, height, FILTER_BICUBIC));
}

bool Convert(const char* in, const std::string& out, int percent) {
    tarvik::Bitmap dib(FreeImage_Load(FIF_JPEG, in, tarvik::kJpegLoadFlags));
    if (dib && percent > 0) {
        dib = Rescale(std::move(dib), percent);
    }
    return dib && FreeImage_Save(FIF_BMP, dib.get(), out.c_str(), BMP_DEFAULT);
}

// OUT_FOLDER/NAME.bmp for IN_FOLDER/NAME.jpg.
std::string OutputFor(const std::string& folder, const std::string& in) {
    std::string name = in.substr(in.rfind('/') + 1);
    name = name.substr(0, name.rfind('.'));
    return folder + "/" + name + ".bmp";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--each") == 0) {
        for (int i = 3; i < argc; ++i) {
            if (!Convert(argv[i], OutputFor(argv[2], argv[i]), 0)) {
                return 1;
            }
        }
        return 0;
    }
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s IN.jpg OUT.bmp [PERCENT]\n", argv[0]);
        std::fprintf(stderr, "       %s --each OUT_FOLDER IN.jpg...\n", argv[0]);
        return 2;
    }
    return Convert(argv[1], argv[2], argc == 4 ? std::atoi(argv[3]) : 0) ? 0 : 1;
}
