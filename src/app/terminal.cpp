#include "app/terminal.h"

#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

#include "core/atomic_file.h"

namespace tarvik {
namespace {

// The terminal mode to put back, kept where the signal handler can reach
// it: Ctrl-C at the key prompt must not leave the terminal without echo.
termios g_savedMode{};
std::atomic<bool> g_modeChanged{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read by a signal handler");

void RestoreTerminalMode() noexcept {
    if (g_modeChanged.exchange(false)) {
        tcsetattr(STDIN_FILENO, TCSANOW, &g_savedMode);
    }
}

void OnTerminate(int signal) {
    RestoreTerminalMode();
    RemovePendingTempFiles();
    _exit(128 + signal);
}

}  // namespace

void WaitForKey() {
    if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &g_savedMode) != 0) {
        return;
    }
    termios raw = g_savedMode;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    g_modeChanged = true;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    char c = 0;
    // Only an interrupted read is retried: a terminal gone away gives EIO
    // for ever.
    while (read(STDIN_FILENO, &c, 1) < 0 && errno == EINTR) {
    }
    RestoreTerminalMode();
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // Past a file-size limit a write should fail, so the save reports it and
    // cleans up, rather than the process dying with a temporary file left.
    signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tarvik
