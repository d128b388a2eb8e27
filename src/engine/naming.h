// Output file naming by the filename mask, the watermark text tokens, and
// the output file's timestamp.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// The output folder (or, without one, the input's own folder), the input's
// sub-folder when sub-folders are kept, and the expanded mask.
std::string BuildOutputPath();
std::string ExpandFilenameMask();
std::string ExpandToken(std::string_view text, std::string_view token);
std::string ExpandWatermarkText();

// After a successful save: gives Job.OutputFile the time that
// [Advanced] File Timestamp asks for.
void ApplyFileTimestamp();

}  // namespace tarvik
