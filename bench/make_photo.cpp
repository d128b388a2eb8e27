// Writes a photo-like JPEG of the given size for the benchmark.
//   tarvik-bench-photo OUT.jpg WIDTH HEIGHT
#include <cstdio>
#include <cstdlib>

#include "fixtures/jpeg_writer.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OUT.jpg WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const tarvik::fixtures::JpegSpec shape{
        .width = static_cast<unsigned>(std::atoi(argv[2])),
        .height = static_cast<unsigned>(std::atoi(argv[3])),
        .quality = 90,
    };
    return tarvik::fixtures::WriteJpeg(argv[1], shape) ? 0 : 1;
}
