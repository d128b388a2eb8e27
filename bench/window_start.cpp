// Window start to a painted main window, over fresh processes.
//
//   tarvik-window-bench [RUNS]   runs itself RUNS times (default 15) and
//                                prints each start and the median
//   tarvik-window-bench --child  one window start; writes the monotonic
//                                clock once the main window has painted
//
// Needs an X server ($DISPLAY); bench/window-start provides one.
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui/main_window.h"
#include "gui/window_start.h"

namespace {

constexpr double kTargetMilliseconds = 400.0;
constexpr int kDefaultRuns = 15;

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Reports the clock after the first paint of the window has been flushed.
class FirstPaint : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::printf("%lld\n", MonotonicNanoseconds());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

int Child(char* program) {
    tarvik::PrepareProcess();
    int qtArgc = 1;
    char* qtArgv[] = {program, nullptr};
    QApplication application(qtArgc, qtArgv);
    FirstPaint watch;
    const auto window = tarvik::OpenMainWindow({});
    window->installEventFilter(&watch);
    return QApplication::exec();
}

// One start in milliseconds, or a negative value when the child failed.
double OneStart(const std::string& self) {
    int out[2];
    if (pipe(out) != 0) {
        return -1;
    }
    const long long start = MonotonicNanoseconds();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(self.c_str(), self.c_str(), "--child", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char text[64] = {};
    const ssize_t n = read(out[0], text, sizeof text - 1);
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return static_cast<double>(std::atoll(text) - start) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--child") {
        return Child(argv[0]);
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = OneStart("/proc/self/exe");
        if (ms < 0) {
            std::fprintf(stderr, "window start %d failed\n", i + 1);
            return 1;
        }
        std::printf("start %2d: %6.1f ms\n", i + 1, ms);
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf(
        "window start to painted main window: median %.1f ms over %d starts "
        "(target %.0f ms): %s\n",
        median, runs, kTargetMilliseconds, median <= kTargetMilliseconds ? "met" : "MISSED");
    return median <= kTargetMilliseconds ? 0 : 1;
}
