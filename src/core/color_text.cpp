#include "core/color_text.h"

#include "core/text.h"

namespace tarvik {
namespace {

constexpr std::size_t kColorTextLength = 6;

// Reads the pair up to its first non-hexadecimal character ("G0" is 0).
std::uint32_t ReadHexPair(std::string_view pair) {
    std::uint32_t value = 0;
    for (const char c : pair) {
        const int d = DigitValue(c, 16);
        if (d < 0) {
            break;
        }
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return value;
}

}  // namespace

std::uint32_t ParseColor(std::string_view text) {
    if (text.size() != kColorTextLength) {
        return 0;
    }
    const std::uint32_t red = ReadHexPair(text.substr(0, 2));
    const std::uint32_t green = ReadHexPair(text.substr(2, 2));
    const std::uint32_t blue = ReadHexPair(text.substr(4, 2));
    return red | (green << 8) | (blue << 16);
}

std::uint32_t ParseColorAlpha(std::string_view text, int alpha) {
    return ParseColor(text) | (static_cast<std::uint32_t>(alpha & 0xFF) << 24);
}

}  // namespace tarvik
