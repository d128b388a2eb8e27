// The process entry: run-mode choice, the core options and the
// command-line pass.
#pragma once

#include <string>

namespace tarvik {

// What the option loop leaves behind besides Job and Settings.
struct OptionPass {
    bool Quiet = false;       // -q: no status lines
    bool Pause = false;       // -p: wait for a key before ending
    std::string Error;        // catalog key (group "Console") of the first error, or ""
    std::string ErrorDetail;  // the line naming the file of the error and why, or ""
};

// The environment variable that sets how many threads a command-line run
// uses (a whole number from 1); unset, one per hardware thread.
inline constexpr const char* kThreadsVariable = "TARVIK_THREADS";

// Reads Parameters left to right into Job and Settings (profiles at their
// position) and stops at the first error.
OptionPass ReadOptions();

// Runs the program over argv and returns the process exit status.
int RunProgram(int argc, char** argv);

}  // namespace tarvik
