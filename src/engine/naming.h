// Output file naming by the filename mask, the watermark text tokens, and
// the output file's timestamp.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

std::string BuildOutputPath();
std::string ExpandFilenameMask();
std::string ExpandToken(std::string_view text, std::string_view token);
std::string ExpandWatermarkText();

// After a successful save: gives Job.OutputFile the time that
// [Advanced] File Timestamp asks for.
void ApplyFileTimestamp();

}  // namespace tarvik
