// Argument lists: the option loop over parameters split at NUL bytes, with
// profiles named by them read as they would be.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/parameters.h"
#include "cli/inputs.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool prepared = [] {
        tarvik::CreateFormatLists();
        return true;
    }();
    (void)prepared;
    std::vector<std::string> words = {"tarvik"};
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    tarvik::ResetJob();
    tarvik::ExtraInputWords.clear();
    tarvik::ResetSettings(true);
    tarvik::SetParameters(static_cast<int>(argv.size()), argv.data());
    tarvik::ReadOptions();
    return 0;
}
