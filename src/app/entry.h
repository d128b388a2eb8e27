// The process entry: run-mode choice, the core options and the
// command-line pass.
#pragma once

#include <string>

namespace tarvik {

// What the option loop leaves behind besides Job and Settings.
struct OptionPass {
    bool Quiet = false;  // -q: no status lines
    bool Pause = false;  // -p: wait for a key before ending
    std::string Error;   // catalog key (group "Console") of the first error, or ""
};

// Reads Parameters left to right into Job and Settings (profiles at their
// position) and stops at the first error.
OptionPass ReadOptions();

// Runs the program over argv and returns the process exit status.
int RunProgram(int argc, char** argv);

}  // namespace tarvik
