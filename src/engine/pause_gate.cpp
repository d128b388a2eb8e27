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
int g_threads = 0;  // guarded by g_lock
int g_waiting = 0;  // guarded by g_lock
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
    PassPauseGateWhen([] { return true; });
}

void PassPauseGateWhen(const std::function<bool()>& ready) {
    std::unique_lock<std::mutex> lock(g_lock);
    ++g_waiting;
    g_changed.wait(lock, [&ready] { return !g_closed.load() && ready(); });
    --g_waiting;
}

void ChangeAtPauseGate(const std::function<void()>& change) {
    {
        const std::lock_guard<std::mutex> guard(g_lock);
        change();
    }
    g_changed.notify_all();
}

void JoinPauseGate(int threads) {
    const std::lock_guard<std::mutex> guard(g_lock);
    g_threads += threads;
}

void LeavePauseGate() {
    const std::lock_guard<std::mutex> guard(g_lock);
    --g_threads;
}

bool PauseGateHolds() {
    const std::lock_guard<std::mutex> guard(g_lock);
    return g_closed.load() && g_threads > 0 && g_waiting == g_threads;
}

}  // namespace tarvik
