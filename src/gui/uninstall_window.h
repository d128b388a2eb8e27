// The uninstall window of "-U": a check box that, left checked, has Next
// open the uninstall page; Next or the close box ends the program.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace tarvik {

class UninstallWindow : public QDialog {
    Q_OBJECT

  public:
    UninstallWindow();

    QCheckBox* VisitCheck() const { return visitCheck_; }
    QPushButton* NextButton() const { return nextButton_; }

  private:
    void Next();

    QCheckBox* visitCheck_ = nullptr;
    QPushButton* nextButton_ = nullptr;
};

// The maker's web server + "/tarvik/uninstall.html".
std::string UninstallPageUrl();

// Shows the window alone, centred on the screen, until it closes; the
// settings are neither read nor written. Returns the exit status.
int RunUninstallWindow();

}  // namespace tarvik
