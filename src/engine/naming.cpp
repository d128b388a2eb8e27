#include "engine/naming.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <optional>

#include "core/clock.h"
#include "core/job.h"
#include "core/setting_values.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/utf8_case.h"

namespace tarvik {
namespace {

constexpr std::string_view kDefaultMask = "%filename%.%ext%";
constexpr std::size_t kNumberDigits = 5;

// The order in which the tokens are replaced.
constexpr std::array<std::string_view, 18> kTokens = {
    "%filename%", "%filename[u]%", "%filename[l]%", "%filename[t]%", "%ext%", "%ext[u]%",
    "%ext[t]%",   "%yyyy%",        "%mm%",          "%dd%",          "%hh%",  "%ii%",
    "%ss%",       "%bpp%",         "%width%",       "%height%",      "%rnd%", "%n%",
};

// The input's name without folder and without the text after its last dot.
std::string BaseName(const std::string& path) {
    std::string name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// Padded on the left to five digits; a longer value keeps its first five.
std::string FiveDigits(int value) {
    std::string digits = std::to_string(value);
    if (digits.size() < kNumberDigits) {
        digits.insert(0, kNumberDigits - digits.size(), '0');
    }
    return digits.substr(0, kNumberDigits);
}

std::string TwoDigits(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
}

// The clock is read at each replacement.
std::tm Now() {
    return LocalFields(LocalNow());
}

std::string DateTimeValue(std::string_view token) {
    const std::tm now = Now();
    if (token == "%yyyy%") {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d", now.tm_year + 1900);
        return buf;
    }
    if (token == "%mm%") {
        return TwoDigits(now.tm_mon + 1);
    }
    if (token == "%dd%") {
        return TwoDigits(now.tm_mday);
    }
    if (token == "%hh%") {
        return TwoDigits(now.tm_hour);
    }
    if (token == "%ii%") {
        return TwoDigits(now.tm_min);
    }
    return TwoDigits(now.tm_sec);
}

bool IsDateTimeToken(std::string_view token) {
    for (std::string_view t : {"%yyyy%", "%mm%", "%dd%", "%hh%", "%ii%", "%ss%"}) {
        if (token == t) {
            return true;
        }
    }
    return false;
}

std::string NameValue(std::string_view token) {
    const std::string name = BaseName(Job.SourceFile);
    // Names are UTF-8: every letter has its case forms, not only ASCII.
    if (token == "%filename[u]%") {
        return UpperUtf8(name);
    }
    if (token == "%filename[l]%") {
        return LowerUtf8(name);
    }
    if (token == "%filename[t]%") {
        return TitleUtf8(name);
    }
    return name;
}

std::string ExtensionValue(std::string_view token) {
    if (token == "%ext[u]%") {
        return UpperUtf8(Job.OutputExtension);
    }
    if (token == "%ext[t]%") {
        return TitleUtf8(Job.OutputExtension);
    }
    return Job.OutputExtension;
}

bool IsKnownToken(std::string_view lowerToken) {
    return std::find(kTokens.begin(), kTokens.end(), lowerToken) != kTokens.end();
}

// None for a text that is no token.
std::optional<std::string> TokenValue(std::string_view anyCaseToken) {
    const std::string token = LowerAscii(anyCaseToken);
    if (!IsKnownToken(token)) {
        return std::nullopt;
    }
    if (StartsWith(token, "%filename")) {
        return NameValue(token);
    }
    if (StartsWith(token, "%ext")) {
        return ExtensionValue(token);
    }
    if (IsDateTimeToken(token)) {
        return DateTimeValue(token);
    }
    if (token == "%bpp%") {
        return std::to_string(Job.OutputBpp);
    }
    if (token == "%width%") {
        return std::to_string(Job.ImageWidth);
    }
    if (token == "%height%") {
        return std::to_string(Job.ImageHeight);
    }
    if (token == "%rnd%") {
        return FiveDigits(Job.RandomNumber);
    }
    return FiveDigits(Job.SequenceNumber);
}

// Sets only the last-write time; the access time is left alone.
void SetLastWriteTime(const std::string& path, std::int64_t localSeconds) {
    const std::array<timespec, 2> times = {
        timespec{.tv_sec = 0, .tv_nsec = UTIME_OMIT},
        timespec{.tv_sec = FromLocalSeconds(localSeconds), .tv_nsec = 0},
    };
    // A time that cannot be set leaves the time of writing.
    (void)utimensat(AT_FDCWD, path.c_str(), times.data(), 0);
}

}  // namespace

std::string ExpandToken(std::string_view text, std::string_view token) {
    const std::optional<std::string> value = TokenValue(token);
    return value ? ReplaceAllNoCase(text, token, *value) : std::string(text);
}

std::string ExpandFilenameMask() {
    std::string mask = LowerUtf8(Settings.Advanced.FilenameMask);
    if (mask.empty()) {
        mask = kDefaultMask;
    }
    // The mask grows as values go in, so a value holding a later token is
    // replaced again.
    for (std::string_view token : kTokens) {
        if (FindNoCase(mask, token) != std::string::npos) {
            mask = ExpandToken(mask, token);
        }
    }
    return mask;
}

std::string BuildOutputPath() {
    // Without an output folder each output lands beside its own input.
    std::string path = Job.OutputFolder.empty()
                           ? Job.SourceFile.substr(0, Job.SourceFile.rfind('/') + 1)
                           : Job.OutputFolder;
    if (Settings.Advanced.KeepSubfolders != 0) {
        path += Job.RelativeFolder;
    }
    return path + ExpandFilenameMask();
}

std::string ExpandWatermarkText() {
    std::string text = Settings.Watermark.Text;
    const std::string lower = LowerAscii(text);
    if (std::count(lower.begin(), lower.end(), '%') < 2) {
        return text;
    }
    // Which tokens to replace is decided on the text as stored.
    for (std::string_view token : kTokens) {
        if (lower.find(token) != std::string::npos) {
            text = ExpandToken(text, token);
        }
    }
    return text;
}

void ApplyFileTimestamp() {
    const auto rule = ValueOf<FileTimestamp>(Settings.Advanced.FileTimestamp);
    if (rule == FileTimestamp::Original) {
        struct stat source {};
        if (stat(Job.SourceFile.c_str(), &source) == 0) {
            SetLastWriteTime(Job.OutputFile, ToLocalSeconds(source.st_mtim.tv_sec));
        }
    } else if (rule == FileTimestamp::Custom) {
        SetLastWriteTime(Job.OutputFile, Settings.Advanced.CustomTimestamp);
    }
}

}  // namespace tarvik
