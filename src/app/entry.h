// The process entry: run-mode choice, the core options and the
// command-line pass.
#pragma once

namespace tarvik {

// Runs the program over argv and returns the process exit status.
int RunProgram(int argc, char** argv);

}  // namespace tarvik
