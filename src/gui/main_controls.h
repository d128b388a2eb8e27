// The main window's controls that the input, folder and conversion
// commands read and fill, gathered in one plain record.
#pragma once

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace tarvik {

struct MainControls {
    QWidget* Window = nullptr;
    QLineEdit* InputFileBox = nullptr;
    QComboBox* OutputFolderBox = nullptr;
    QComboBox* OutputFormatBox = nullptr;
    QLabel* StatusText = nullptr;  // the status bar's one field
};

void SetStatusText(const MainControls& controls, const std::string& text);

}  // namespace tarvik
