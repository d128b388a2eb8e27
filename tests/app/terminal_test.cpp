// The key wait of -p on a real terminal: whatever ends it, a key or
// Ctrl-C, the terminal keeps its echo and line editing.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "support/fixtures.h"

namespace tarvik {
namespace {

constexpr const char* kPrompt = "Press any key to exit.";

// A pseudo-terminal whose far end is the program's controlling terminal.
class TerminalRun {
  public:
    explicit TerminalRun(const std::string& input) {
        if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            setsid();
            ioctl(slave_, TIOCSCTTY, 0);
            dup2(slave_, STDIN_FILENO);
            dup2(slave_, STDOUT_FILENO);
            dup2(slave_, STDERR_FILENO);
            execl(TARVIK_BINARY, TARVIK_BINARY, "-p", "-q", "-i", input.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~TerminalRun() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) {
            close(master_);
            close(slave_);
        }
    }
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    bool Started() const { return pid_ > 0; }

    // Reads the screen until the text appears or time runs out.
    bool WaitForText(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (screen_.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            pollfd p{master_, POLLIN, 0};
            char buf[256];
            if (poll(&p, 1, 100) > 0) {
                const ssize_t n = read(master_, buf, sizeof buf);
                if (n <= 0) {
                    return false;
                }
                screen_.append(buf, static_cast<std::size_t>(n));
            }
        }
        return true;
    }

    bool Type(const std::string& keys) {
        return write(master_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
    }

    int Wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        return status;
    }

    termios Mode() const {
        termios mode{};
        tcgetattr(slave_, &mode);
        return mode;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    pid_t pid_ = -1;
    bool reaped_ = false;
    std::string screen_;
};

TEST(Terminal, TheKeyWaitLeavesEchoAndLineEditingOn) {
    const std::string dir = test::MakeTempFolder("terminal");
    ASSERT_TRUE(test::WriteJpeg(dir + "photo.jpg", {}));
    const struct {
        const char* name;
        const char* keys;
        int exitCode;
    } cases[] = {
        {"a key", "x", 0},
        {"Ctrl-C", "\x03", 128 + SIGINT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TerminalRun run(dir + "photo.jpg");
        ASSERT_TRUE(run.Started());
        ASSERT_TRUE(run.WaitForText(kPrompt));
        // The prompt is printed just before the mode changes.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(run.Type(c.keys));
        const int status = run.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode);
        const termios mode = run.Mode();
        EXPECT_NE(mode.c_lflag & ECHO, 0u);
        EXPECT_NE(mode.c_lflag & ICANON, 0u);
    }
}

}  // namespace
}  // namespace tarvik
