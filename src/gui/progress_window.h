// The small window-modal window a conversion runs under: the file being
// converted, a bar, and at the end the result with OK. Closing it during
// the run holds the worker while it asks whether to stop.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

#include "gui/main_controls.h"

class QFontMetrics;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tarvik {

// Longer than maxChars: the first and last (maxChars - 3) / 2 characters
// around "...".
std::string ShortenPath(const std::string& text, int maxChars);

// The path as the progress window shows it: shortened to maxChars, then
// further until it is no wider than width in the label's font.
std::string FitPathToWidth(const std::string& file, int maxChars, const QFontMetrics& metrics,
                           int width);

class ProgressWindow : public QDialog {
    Q_OBJECT

  public:
    ProgressWindow(const MainControls& controls, int fileCount);

    // Starts the worker and returns once the window was closed after the end.
    void Run();

    bool StopRequested() const { return stopRequested_; }
    bool Ended() const { return ended_; }

  public slots:
    // The close box and Escape: during the run the stop question, after
    // it the same as OK.
    void reject() override;

  private:
    void Poll();
    void ShowIndex(std::int32_t index, const std::string& file);
    void ShowEnd();
    void AskToStop();
    std::string Counter(std::int32_t index) const;

    MainControls controls_;
    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* ok_ = nullptr;
    QTimer* timer_ = nullptr;
    int count_ = 0;
    std::int32_t shownIndex_ = 0;
    bool stopRequested_ = false;
    bool ended_ = false;
    int charWidth_ = 7;
    int maxChars_ = 40;
};

}  // namespace tarvik
