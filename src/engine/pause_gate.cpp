#include "engine/pause_gate.h"

#include <condition_variable>
#include <mutex>

namespace tarvik {
namespace {
std::mutex g_lock;
std::condition_variable g_changed;
bool g_closed = false;
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
    std::unique_lock<std::mutex> lock(g_lock);
    g_changed.wait(lock, [] { return !g_closed; });
}

}  // namespace tarvik
