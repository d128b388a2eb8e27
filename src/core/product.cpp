#include "core/product.h"

namespace tarvik {

std::string VersionDisplay(int number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 3) {
        return digits;
    }
    std::string shown = digits.substr(0, 1) + "." + digits.substr(1, 1) + "." + digits.substr(2);
    if (shown.back() == '0') {
        shown.resize(3);
    }
    return shown;
}

std::string FullTitle() {
    return std::string(ProductTitle) + " " + VersionDisplay();
}

std::string BrandWord() {
    const std::size_t blank = ProductTitle.find(' ');
    return std::string(ProductTitle.substr(0, blank));
}

}  // namespace tarvik
