// "Suspending" the worker: a gate it passes between files. The window run
// closes the gate while it asks whether to stop.
#pragma once

namespace tarvik {

void ClosePauseGate();
void OpenPauseGate();
// Blocks while the gate is closed.
void PassPauseGate();

}  // namespace tarvik
