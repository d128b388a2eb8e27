// Profile files: the INI reader and every option reader a [CLI] key reaches.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/profile.h"
#include "core/atomic_file.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/settings.h"

namespace {

std::string ProfilePath() {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/tarvik-fuzz-profile-" +
           std::to_string(getpid()) + ".ini";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ProfilePath();
    static const bool prepared = [] {
        tarvik::CreateFormatLists();
        return true;
    }();
    (void)prepared;
    if (!tarvik::WriteFileAtomically(path, {data, size}, tarvik::TempFile::Flush::kNone)) {
        return 0;
    }
    tarvik::ResetJob();
    tarvik::ResetSettings(true);
    tarvik::LoadProfile(path);
    return 0;
}
