#include "app/parameters.h"

#include "core/text.h"

namespace tarvik {

std::vector<std::string> Parameters;

void SetParameters(int argc, char** argv) {
    Parameters.clear();
    for (int i = 1; i < argc; ++i) {
        std::string p(argv[i]);
        std::erase(p, '"');
        Parameters.push_back(std::move(p));
    }
}

std::string OptionName(std::size_t i) {
    if (i >= Parameters.size()) {
        return {};
    }
    std::string_view p = Trim(Parameters[i]);
    if (!StartsWith(p, "-")) {
        return {};
    }
    if (StartsWith(p, "--")) {
        p = p.substr(0, p.find('='));
    }
    return UpperAscii(p);
}

std::string OptionValue(std::size_t i) {
    if (i >= Parameters.size()) {
        return {};
    }
    const std::string_view p = Trim(Parameters[i]);
    const std::size_t eq = p.find('=');
    if (StartsWith(p, "--") && eq != std::string_view::npos && eq >= 2) {
        return std::string(p.substr(eq + 1));
    }
    return std::string(p);
}

}  // namespace tarvik
