#include "gui/window_start.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include "core/catalog.h"
#include "core/clock.h"
#include "core/config_file.h"
#include "core/console.h"
#include "core/display.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/product.h"
#include "core/settings.h"
#include "core/text.h"
#include "gui/display_access.h"
#include "gui/folder_history.h"
#include "gui/hand_over_server.h"
#include "gui/input_folders.h"
#include "gui/main_window.h"
#include "gui/screenshot_mode.h"
#include "gui/session_bus.h"
#include "gui/single_instance.h"
#include "gui/themes.h"
#include "gui/uninstall_window.h"
#include "gui/update_prompts.h"

namespace tarvik {
namespace {

constexpr std::string_view kUninstallWord = "-U";
constexpr std::string_view kScreenshotWord = "-T";
// How long the session bus may take to answer before the window starts
// without it.
constexpr std::chrono::seconds kSessionBusWait{3};
// How long a second start tries to reach the open window, which may still
// be starting, and the pause between two tries.
constexpr std::chrono::seconds kHandOverWait{15};
constexpr std::chrono::milliseconds kHandOverRetry{50};

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Absolute(const std::string& path) {
    if (path.starts_with('/')) {
        return path;
    }
    char* cwd = getcwd(nullptr, 0);
    if (cwd == nullptr) {
        return path;
    }
    std::string folder(cwd);
    free(cwd);
    return folder + (folder.ends_with('/') ? "" : "/") + path;
}

// The menu bar stays in the window, as the window's layout has it: looking
// for a desktop-wide menu asks the session bus first, and a slow or stuck
// bus would hold the window back for as long as it takes to answer.
void PrepareToolkit() {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // The screen-reader bridge still waits for the bus: a silent one is left.
    if (SessionBusStalls(kSessionBusWait)) {
        LeaveSessionBus();
        ConsoleErrorLine(CatalogText("Msg", "Warning") + ": " +
                         FillPlaceholders(CatalogText("Console", "Session bus silent"),
                                          std::to_string(kSessionBusWait.count())));
    }
}

void MeasureDisplay() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        SetPrimaryDisplaySize({screen->size().width(), screen->size().height()});
    }
}

// The window's class on X11 (WM_CLASS) and its application id on Wayland
// are the program's short name, which the desktop entry names too
// (StartupWMClass, tarvik.desktop), so the desktop ties the window to it.
void NameApplication() {
    const QString name =
        QString::fromUtf8(ProgramShortName.data(), static_cast<qsizetype>(ProgramShortName.size()));
    QCoreApplication::setApplicationName(name);
    QGuiApplication::setDesktopFileName(name);
}

void PreparePictures() {
    LoadBuiltInImages();
    ScanThemes();
    LoadThemeImages(true, true, true);
}

// The uninstall window and the screenshot mode, with the built-in settings:
// neither reads nor writes config.ini. A screenshot folder that does not
// exist ends the mode before anything is shown.
int RunSpecialMode(const std::string& word, const std::vector<std::string>& parameters,
                   char** argv) {
    std::string folder;
    if (word == kScreenshotWord) {
        folder = ScreenshotFolder(parameters.size() > 1 ? std::string(Trim(parameters[1])) : "");
        if (folder.empty()) {
            return 0;
        }
    }
    DisplayCheck display;
    if (!display.Reachable()) {
        ConsoleErrorLine(NoDisplayLine());
        return 1;
    }
    PrepareToolkit();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    display.Release();
    if (word == kUninstallWord) {
        return RunUninstallWindow();
    }
    MeasureDisplay();
    PreparePictures();
    return RunScreenshotMode(folder);
}

// Takes the lock and listens for later starts, or hands this start's file
// to the window that holds the lock. Empty when this process is to be the
// window; otherwise the exit status, with a line on stderr unless the file
// reached the open window.
std::optional<int> BecomeTheWindow(const std::string& folder, const std::string& file,
                                   InstanceLock& lock, HandOverListener& listener) {
    const std::string lockPath = InstanceLockPath(folder);
    const std::string socketPath = InstanceSocketPath(folder);
    const auto deadline = std::chrono::steady_clock::now() + kHandOverWait;
    while (true) {
        const LockState state = lock.Acquire(lockPath);
        if (state == LockState::kTaken) {
            if (!listener.Listen(socketPath)) {
                ConsoleErrorLine(
                    ConsoleErrorText("Instance folder failed", socketPath, std::strerror(errno)));
                return 1;
            }
            return std::nullopt;
        }
        if (state == LockState::kFailed) {
            ConsoleErrorLine(
                ConsoleErrorText("Instance folder failed", lockPath, std::strerror(errno)));
            return 1;
        }
        // A window holds the lock; a window just starting may not listen yet.
        const HandOver result = HandOverToWindow(socketPath, file, deadline);
        if (result == HandOver::kDelivered) {
            return 0;
        }
        if (result == HandOver::kNoAnswer || std::chrono::steady_clock::now() >= deadline) {
            ConsoleErrorLine(ConsoleErrorText("Window did not answer"));
            return 1;
        }
        std::this_thread::sleep_for(kHandOverRetry);
    }
}

}  // namespace

void PrepareProcess() {
    CreateFormatLists();
    ResetJob();
    ResetSettings(false);
    BuildCatalog();
}

void PrepareWindowSettings() {
    Settings.ConfigFilePath = ConfigFilePath();
    LoadSettings();
    PreparePictures();
}

std::string OpenWithFile(const std::vector<std::string>& parameters) {
    if (parameters.size() != 1) {
        return {};
    }
    const std::string path(Trim(parameters.front()));
    if (path.empty() || path.starts_with('-') || !IsRegularFile(path) ||
        !IsAcceptedInputFile(path)) {
        return {};
    }
    return Absolute(path);
}

std::unique_ptr<MainWindow> OpenMainWindow(const std::vector<std::string>& parameters) {
    MeasureDisplay();
    PrepareWindowSettings();
    auto window = std::make_unique<MainWindow>();
    window->Finish();
    if (const std::string file = OpenWithFile(parameters); !file.empty()) {
        AddInputFile(window->Controls(), file);
    }
    // Asked once the event loop runs, so the window is painted behind the box.
    QTimer::singleShot(0, window.get(), [owner = window.get()] {
        ScheduledUpdateCheck(
            owner, Job.RunMode == "T" ? WindowStart::kScreenshot : WindowStart::kNormal, LocalNow);
    });
    return window;
}

int RunWindowFrontEnd(int argc, char** argv) {
    PrepareProcess();
    NameApplication();
    const std::vector<std::string> parameters(argv + 1, argv + argc);
    if (!parameters.empty()) {
        const std::string first = UpperAscii(Trim(parameters.front()));
        if (first == kUninstallWord || first == kScreenshotWord) {
            return RunSpecialMode(first, parameters, argv);
        }
    }
    const InstanceFolder place = FindInstanceFolder();
    if (place.Folder.empty()) {
        ConsoleErrorLine(place.Error);
        return 1;
    }
    InstanceLock lock;
    HandOverListener listener;
    if (const std::optional<int> status =
            BecomeTheWindow(place.Folder, OpenWithFile(parameters), lock, listener)) {
        return *status;
    }
    DisplayCheck display;
    if (!display.Reachable()) {
        ConsoleErrorLine(NoDisplayLine());
        return 1;
    }
    PrepareToolkit();
    // Qt sees no parameters: they are the program's own, not toolkit options.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    display.Release();  // Qt is connected now
    const std::unique_ptr<MainWindow> window = OpenMainWindow(parameters);
    const HandOverServer server(
        listener.Descriptor(),
        [owner = window.get()](const std::string& file) { owner->TakeHandOver(file); });
    QApplication::exec();
    return 0;
}

}  // namespace tarvik
