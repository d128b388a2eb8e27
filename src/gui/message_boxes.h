// The program's message boxes.
#pragma once

#include <string>

class QWidget;

namespace tarvik {

// A warning with an OK button, titled "Warning"; a detail (the line naming
// a file or folder and why it was refused) shows below the text.
void ShowWarning(QWidget* parent, const std::string& text, const std::string& detail = {});

// "Do you want to break the conversion?" with Yes and No; true on Yes.
bool AskBreakConversion(QWidget* parent);

}  // namespace tarvik
