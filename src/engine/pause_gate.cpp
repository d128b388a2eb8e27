#include "engine/pause_gate.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tarvik {
namespace {
std::mutex g_lock;
std::condition_variable g_changed;
// Read without the lock on the fast path: passing an open gate between
// every pipeline step must cost next to nothing.
std::atomic<bool> g_closed{false};
std::atomic<int> g_waiting{0};
}  // namespace

void ClosePauseGate() {
    const std::lock_guard<std::mutex> guard(g_lock);
    g_closed = true;
}

void OpenPauseGate() {
    {
        const std::lock_guard<std::mutex> guard(g_lock);
        g_closed = false;
    }
    g_changed.notify_all();
}

void PassPauseGate() {
    if (!g_closed.load()) {
        return;
    }
    std::unique_lock<std::mutex> lock(g_lock);
    ++g_waiting;
    g_changed.wait(lock, [] { return !g_closed.load(); });
    --g_waiting;
}

bool PauseGateHolds() {
    return g_waiting.load() > 0;
}

}  // namespace tarvik
