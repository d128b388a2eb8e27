// The file-converter finder: two extensions, cleaned, make the address of
// a search page on the maker's web server. Return searches, Escape closes.
#pragma once

#include <QDialog>

#include <string>
#include <string_view>

class QLineEdit;
class QPushButton;

namespace tarvik {

// Only this many characters of a field count, before cleaning.
inline constexpr qsizetype kFinderFieldLimit = 12;

// The characters 0-9, A-Z and a-z of text, in order.
std::string KeepLettersAndDigits(std::string_view text);

// Job.FinderFrom and Job.FinderTo from the two fields: the first 12
// characters, lower-cased, then only letters and digits. True when both
// hold something.
bool CleanFinderInput(const QString& from, const QString& to);

// The maker's web server + "/find/" + Job.FinderFrom + "-" + Job.FinderTo + "/".
std::string FinderSearchUrl();

class FinderWindow : public QDialog {
    Q_OBJECT

  public:
    explicit FinderWindow(QWidget* owner);

    QLineEdit* FromBox() const { return fromBox_; }
    QLineEdit* ToBox() const { return toBox_; }
    QPushButton* SearchButton() const { return searchButton_; }

  private:
    void Search();

    QLineEdit* fromBox_ = nullptr;
    QLineEdit* toBox_ = nullptr;
    QPushButton* searchButton_ = nullptr;
};

// Builds the finder and shows it window-modal over owner, the From field
// focused; it deletes itself when it closes.
FinderWindow* OpenFinderWindow(QWidget* owner);

}  // namespace tarvik
