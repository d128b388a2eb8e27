// The program's message boxes.
#pragma once

#include <string>

class QWidget;

namespace tarvik {

// A warning with an OK button, titled "Warning".
void ShowWarning(QWidget* parent, const std::string& text);

// "Do you want to break the conversion?" with Yes and No; true on Yes.
bool AskBreakConversion(QWidget* parent);

}  // namespace tarvik
