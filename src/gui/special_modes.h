// The two one-shot modes of the window program: the uninstall window (-U)
// and the screenshot mode (-T), each instead of the main window.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;

namespace tarvik {

// A small window asking whether to visit the uninstall page.
class UninstallWindow : public QDialog {
    Q_OBJECT

  public:
    UninstallWindow();
    QCheckBox* VisitCheck() const { return visit_; }

  private:
    void Next();
    QCheckBox* visit_ = nullptr;
};

// Shows the uninstall window until it is closed; 0.
int RunUninstallWindow();

// Shows the main window with sample values and saves its picture as
// tarvik1.jpg and a 180-pixel-wide tarvik1x.jpg in folder (the program's
// folder when empty). 0 when the folder does not exist, else 1. Settings
// are not saved.
int RunScreenshotMode(const std::string& folder);

}  // namespace tarvik
