#include "support/fixtures.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace tarvik::test {
namespace {

std::uint32_t U32(const std::string& b, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8 | static_cast<std::uint8_t>(b[at + i]);
    }
    return value;
}

std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                      (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

}  // namespace

void SaveForViewing(const Bitmap& bitmap, const std::string& name) {
    if (bitmap) {
        const std::string path = TestOutputFolder() + name + ".png";
        FreeImage_Save(FIF_PNG, bitmap.get(), path.c_str(), 0);
    }
}

RunResult RunTarvik(const std::vector<std::string>& args, const std::string& cwd,
                    int timeoutSeconds) {
    std::vector<std::string> argv = {TARVIK_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, cwd, timeoutSeconds);
}

BmpHeader ParseBmpHeader(const std::string& b) {
    BmpHeader h;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        return h;
    }
    h.valid = true;
    h.fileSize = U32(b, 2);
    h.pixelOffset = U32(b, 10);
    h.width = static_cast<std::int32_t>(U32(b, 18));
    h.height = static_cast<std::int32_t>(U32(b, 22));
    h.bpp = U16(b, 28);
    h.compression = U32(b, 30);
    h.imageSize = U32(b, 34);
    h.colorsUsed = U32(b, 46);
    h.colorsImportant = U32(b, 50);
    return h;
}

std::string BmpPixelData(const std::string& bytes) {
    const BmpHeader h = ParseBmpHeader(bytes);
    if (!h.valid || h.pixelOffset > bytes.size()) {
        return {};
    }
    return bytes.substr(h.pixelOffset);
}

}  // namespace tarvik::test
