// The main window: menu bar, toolbar, the input-file, output-folder and
// output-format rows with their small buttons, the Convert button, the
// notice line and the status bar. Its height is fixed; widening it widens
// the three boxes and moves the buttons by the same amount.
#pragma once

#include <QMainWindow>

#include <map>
#include <string>

#include "gui/main_controls.h"

class QAction;
class QPushButton;
class QToolBar;
class QToolButton;

namespace tarvik {

inline constexpr int kMainWindowMinWidth = 510;
inline constexpr int kMainWindowHeight = 260;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    MainWindow();

    // The start-up tasks once the window exists: geometry, boxes, a fresh
    // job; then the window is shown.
    void Finish();

    // One command, whatever its source.
    void RunCommand(int number);

    // A later start's file ("" when it named none): taken as a dropped
    // file once no dialog holds the window, which comes to the front.
    void TakeHandOver(const std::string& file);

    // Rebuilds the toolbar at the current [Interface] UI Size.
    void BuildMainToolbar();

    // After the Preferences dialog: rebuilds what InterfaceReload asks for,
    // selects the dialog's output format and refills the folder box.
    void RefreshMainWindow(int outputFormatEntry);

    const MainControls& Controls() const { return controls_; }
    QAction* CommandAction(int number) const;
    QToolBar* MainToolbar() const { return toolbar_; }
    QPushButton* ConvertButton() const { return convertButton_; }
    // 0: input file, 1: output folder, 2: format options.
    QToolButton* FieldButton(int row) const {
        return fieldButtons_.at(static_cast<std::size_t>(row));
    }

  protected:
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildActions();
    void BuildMainMenu();
    QWidget* BuildPanel();
    QToolButton* BuildFieldButton(int command);
    void FillOutputFormatBox();
    void FitHeight();
    int ToolbarWidth() const;
    void OpenPreferencesDialog(int startPage);
    void TakeDroppedFile(const std::string& path);
    void TakePendingFile();
    void ComeToFront();
    void TakeBackKeyboard();
    void KeepFrameOnScreen();

    MainControls controls_;
    std::map<int, QAction*> actions_;
    QToolBar* toolbar_ = nullptr;
    QPushButton* convertButton_ = nullptr;
    std::array<QToolButton*, 3> fieldButtons_{};
    std::string pendingFile_;  // handed over while a dialog held the window
    bool frameChecked_ = false;
    QString
        menuLetters_;  // the menu bar's mnemonics  // the frame was fitted at the first activation
};

}  // namespace tarvik
