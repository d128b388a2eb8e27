#include "gui/window_start.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "core/catalog.h"
#include "core/clock.h"
#include "core/config_file.h"
#include "core/display.h"
#include "core/formats.h"
#include "core/job.h"
#include "core/product.h"
#include "core/settings.h"
#include "core/text.h"
#include "gui/folder_history.h"
#include "gui/input_folders.h"
#include "gui/main_window.h"
#include "gui/screenshot_mode.h"
#include "gui/single_instance.h"
#include "gui/themes.h"
#include "gui/uninstall_window.h"
#include "gui/update_prompts.h"

namespace tarvik {
namespace {

constexpr std::string_view kUninstallWord = "-U";
constexpr std::string_view kScreenshotWord = "-T";

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
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    if (word == kUninstallWord) {
        return RunUninstallWindow();
    }
    MeasureDisplay();
    PreparePictures();
    return RunScreenshotMode(folder);
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
    InstanceLock lock;
    if (!lock.Acquire(InstanceLockPath())) {
        return 0;  // a window is already open
    }
    // Qt sees no parameters: they are the program's own, not toolkit options.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    const std::unique_ptr<MainWindow> window = OpenMainWindow(parameters);
    QApplication::exec();
    return 0;
}

}  // namespace tarvik
