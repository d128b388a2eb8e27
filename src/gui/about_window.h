// The About dialog: the banner, the full title, the notice, and the web and
// mail links, which open through the desktop and leave the dialog open.
// Return and Escape close it.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tarvik {

inline constexpr int kAboutWidth = 360;
inline constexpr int kAboutHeight = 240;

class AboutWindow : public QDialog {
    Q_OBJECT

  public:
    explicit AboutWindow(QWidget* owner);

    QLabel* WebLink() const { return webLink_; }
    QLabel* MailLink() const { return mailLink_; }
    QPushButton* OkButton() const { return okButton_; }

  private:
    QWidget* BuildFrame();

    QLabel* webLink_ = nullptr;
    QLabel* mailLink_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// Builds the dialog and shows it window-modal over owner; it deletes
// itself when it closes.
AboutWindow* OpenAboutWindow(QWidget* owner);

}  // namespace tarvik
