// The process's own terminal: the key wait of -p, and clean endings on
// SIGINT/SIGTERM (no temporary output file is left behind).
#pragma once

namespace tarvik {

// Waits for one key in raw mode when standard input is a terminal;
// returns at once otherwise.
void WaitForKey();

void InstallSignalHandlers();

}  // namespace tarvik
