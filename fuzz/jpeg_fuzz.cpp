// JPEG inputs: the structure walk, the checks before decoding, the metadata
// repair and FreeImage's decoder, on bytes as they come.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/jpeg_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    const tarvik::Bitmap bitmap = tarvik::LoadJpegBytes(bytes);
    return 0;
}
