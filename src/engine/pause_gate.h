// "Suspending" the worker: a gate it passes before each file and between
// the steps of a file. The window run closes the gate while it asks whether
// to stop; the worker then waits at the next gate, holding no lock that the
// window thread needs.
#pragma once

namespace tarvik {

void ClosePauseGate();
void OpenPauseGate();
// Blocks while the gate is closed.
void PassPauseGate();
// Whether a thread is waiting at the closed gate.
bool PauseGateHolds();

}  // namespace tarvik
