// The Preferences dialog: the category list beside a header band and the
// stack of nine pages, with Defaults, OK and Cancel. Its controls are the
// working copy of the settings; OK and Defaults alone write them.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "gui/preferences/pages.h"
#include "gui/preferences/pickers.h"

class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;

namespace tarvik {

// The page shown when the dialog opens next; back to General after that.
extern int PreferencesStartPage;
inline constexpr int kPreferencesPageCount = 9;
inline constexpr int kGeneralPage = 0;
inline constexpr int kOutputPage = 3;

class PreferencesDialog : public QDialog {
  public:
    // Runs the main window's refresh with the selected output-format entry.
    using Refresh = std::function<void(int outputFormatEntry)>;

    PreferencesDialog(QWidget* mainWindow, Refresh refresh, Choosers choosers = QtChoosers());

    // Replaces what the colour, font and picture choosers return.
    void SetChoosers(Choosers choosers) { choosers_ = std::move(choosers); }

    // Shows a page and names it in the header; other indexes change nothing.
    void ShowPage(int index);
    int CurrentPage() const;
    PreferencesPage* Page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    QListWidget* Categories() const { return categories_; }
    QLabel* Header() const { return header_; }
    QPushButton* DefaultsButton() const { return defaults_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    QWidget* BuildHeader();
    QWidget* BuildButtons();
    void Fill();
    void Apply();
    void AskDefaults();
    void SetReloadFor(const SettingsRecord& s);

    Choosers choosers_;
    Refresh refresh_;
    QListWidget* categories_ = nullptr;
    QLabel* header_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    std::array<PreferencesPage*, kPreferencesPageCount> pages_{};
    QPushButton* defaults_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Builds, fills and shows the dialog, window-modal to the main window; an
// open dialog is raised instead of a second one.
PreferencesDialog* OpenPreferences(QWidget* mainWindow, PreferencesDialog::Refresh refresh);

}  // namespace tarvik
