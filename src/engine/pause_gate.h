// "Suspending" the worker: a gate its threads pass before each file and
// between the steps of a file. The window run closes the gate while it asks
// whether to stop; every thread then waits at its next gate, holding no
// lock that the window thread needs. A thread waiting for its turn (files
// are named and saved in order) waits at the same gate, so the run holds as
// a whole.
#pragma once

#include <functional>

namespace tarvik {

void ClosePauseGate();
void OpenPauseGate();
// Blocks while the gate is closed.
void PassPauseGate();
// Blocks until ready() holds and the gate is open. ready() is called under
// the gate's lock; what it reads is changed through ChangeAtPauseGate.
void PassPauseGateWhen(const std::function<bool()>& ready);
// Makes a change that a thread in PassPauseGateWhen waits for.
void ChangeAtPauseGate(const std::function<void()>& change);

// The threads of a run register before they start and leave when they
// have no more work, so that the gate can tell when all of them hold.
void JoinPauseGate(int threads);
void LeavePauseGate();
// Whether the gate is closed and every thread of the run waits at it.
bool PauseGateHolds();

}  // namespace tarvik
