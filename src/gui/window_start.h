// Window mode from start to end: one window per user, config.ini over the
// defaults, the pictures, the main window and its event loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tarvik {

class MainWindow;

// The format lists, a fresh job, the window defaults and the catalog.
void PrepareProcess();

// config.ini over the defaults, then the built-in pictures and the theme.
void PrepareWindowSettings();

// The file "Open with" names: a single parameter that is an existing,
// accepted file, made absolute against the current folder; "" otherwise.
std::string OpenWithFile(const std::vector<std::string>& parameters);

// With a QApplication running: the settings and pictures, then the main
// window shown, holding the file "Open with" names.
std::unique_ptr<MainWindow> OpenMainWindow(const std::vector<std::string>& parameters);

// The whole of tarvik-gui; returns the exit status.
int RunWindowFrontEnd(int argc, char** argv);

}  // namespace tarvik
