#include "app/terminal.h"

#include <termios.h>
#include <unistd.h>
#include <csignal>

#include "core/atomic_file.h"

namespace tarvik {
namespace {

void OnTerminate(int signal) {
    RemovePendingTempFiles();
    _exit(128 + signal);
}

}  // namespace

void WaitForKey() {
    if (isatty(STDIN_FILENO) == 0) {
        return;
    }
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) != 0) {
        return;
    }
    termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) < 0) {
    }
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
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
