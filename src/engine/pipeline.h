// The per-file pipeline.
#pragma once

namespace tarvik {

// Converts Job.SourceFile to Job.OutputFile; true when the output was
// written.
bool ConvertFile();

}  // namespace tarvik
