#include "engine/naming.h"

#include "core/job.h"
#include "core/settings.h"
#include "core/text.h"

namespace tarvik {
namespace {

std::string BaseName(const std::string& path) {
    std::string name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string ExpandToken(std::string_view text, std::string_view token) {
    if (EqualsNoCase(token, "%filename%")) {
        return ReplaceAllNoCase(text, token, BaseName(Job.SourceFile));
    }
    if (EqualsNoCase(token, "%ext%")) {
        return ReplaceAllNoCase(text, token, Job.OutputExtension);
    }
    return std::string(text);
}

std::string ExpandFilenameMask() {
    std::string mask = LowerAscii(Settings.Advanced.FilenameMask);
    if (mask.empty()) {
        mask = "%filename%.%ext%";
    }
    for (std::string_view token : {"%filename%", "%ext%"}) {
        mask = ExpandToken(mask, token);
    }
    return mask;
}

std::string BuildOutputPath() {
    std::string path = Job.OutputFolder;
    if (Settings.Advanced.KeepSubfolders != 0) {
        path += Job.RelativeFolder;
    }
    return path + ExpandFilenameMask();
}

std::string ExpandWatermarkText() { return Settings.Watermark.Text; }

void ApplyFileTimestamp() {}

}  // namespace tarvik
