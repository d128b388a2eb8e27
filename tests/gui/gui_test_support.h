// Helpers for the window tests: a private per-test environment, test
// photos, screenshots for viewing, and answering the modal windows a
// command opens.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>

class QWidget;

namespace tarvik::test {

// Points HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR at fresh folders under
// the build's test output, then prepares the process as window mode does
// (format lists, job, defaults, catalog, config path, pictures).
void PrepareWindowTest(const std::string& name);

// A new empty folder under the test root, ending in "/".
std::string MakeFolder(const std::string& name);

// A photo-like JPEG of the given size.
bool WritePhoto(const std::string& path, unsigned width = 64, unsigned height = 48);
bool WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);
bool Exists(const std::string& path);

// Saves the widget's picture as build/test-output/NAME.png.
QString SaveScreenshot(QWidget* widget, const QString& name);

// Answers the windows that open while a command runs. Each step looks at
// the visible top-level windows and returns true once it has acted; the
// steps run in order. Actions are queued so that a step never runs inside
// the event loop it starts.
class ModalAnswerer : public QObject {
  public:
    using Step = std::function<bool()>;
    explicit ModalAnswerer(std::deque<Step> steps);
    bool Done() const { return steps_.empty(); }

  private:
    void Poll();
    std::deque<Step> steps_;
    QTimer timer_;
};

// The visible message box, if any.
QMessageBox* VisibleMessageBox();
// A step: records the visible message box's text and presses the button.
ModalAnswerer::Step AnswerMessageBox(QMessageBox::StandardButton button, QStringList* texts);

}  // namespace tarvik::test
