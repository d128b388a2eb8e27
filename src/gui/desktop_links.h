// What the window hands to the desktop's open action: the user manual,
// the feedback mail and the home page.
#pragma once

#include <string>

namespace tarvik {

// A path beginning with "/" opens as a file, anything else as a URL.
void OpenWithShell(const std::string& target);

// index.html of the HTML manual: ManualPathOf the program's folder.
std::string ManualPath();

// "mailto:" the support address with the subject "<full title> Feedback".
std::string FeedbackLink();

}  // namespace tarvik
