// What the window hands to the desktop's open action: the user manual,
// the feedback mail and the home page.
#pragma once

#include <string>

class QWidget;

namespace tarvik {

// Hands target to the desktop's open action: a path beginning with "/"
// opens as a file, anything else as a URL. When the desktop has no program
// for it (no xdg-open), a warning box over parent names the target and the
// package to install; false then.
bool OpenWithShell(QWidget* parent, const std::string& target);

// index.html of the HTML manual: ManualPathOf the program's folder.
std::string ManualPath();

// "mailto:" the support address with the subject "<full title> Feedback".
std::string FeedbackLink();

}  // namespace tarvik
