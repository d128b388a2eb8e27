// Helpers for the window tests: a private per-test environment, test
// photos, screenshots for viewing, and answering the modal windows a
// command opens, each within a bound.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <string>

class QWidget;

namespace tarvik::test {

// How long a window test waits for one dialog to open, change or close:
// long enough for a loaded machine, short enough that a hang is a failure
// message in seconds.
constexpr std::chrono::milliseconds kModalWaitBound{15000};

// Points HOME, the XDG folders and XDG_RUNTIME_DIR at fresh folders under
// the build's test output. Runs before the application object exists, so
// nothing of the machine's user state (Qt's own remembered dialogs among
// it) is ever read.
void UsePrivateUserFolders(const std::string& name);
// Removes those folders after a passing run (a failed one keeps them to
// look at); returns status.
int EndPrivateUserFolders(int status);

// Prepares the process as window mode does (format lists, job, defaults,
// catalog, config path, pictures).
void PrepareWindowTest();

// A new empty folder under the test root, ending in "/".
std::string MakeFolder(const std::string& name);

// A photo-like JPEG of the given size.
bool WritePhoto(const std::string& path, unsigned width = 64, unsigned height = 48);
bool WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);
bool Exists(const std::string& path);

// Saves the widget's picture as build/test-output/NAME.png.
QString SaveScreenshot(QWidget* widget, const QString& name);

// The visible top-level windows other than plain main windows, as
// "'Title' (Class)" joined with ", "; "none" when there is none.
QString OpenDialogs();

// Answers the windows that open while a command runs. Each step looks at
// the visible top-level windows and returns true once it has acted; the
// steps run in order, each within kModalWaitBound of the one before.
// Actions are queued so that a step never runs inside the event loop it
// starts. When a step's bound passes, the answerer notes what it waited
// for and which dialogs were open, then closes every dialog it finds, so
// the command's event loop returns and the test goes on to fail.
class ModalAnswerer : public QObject {
  public:
    struct Step {
        QString What;  // what the step waits for, for the failure line
        std::function<bool()> Act;
    };

    explicit ModalAnswerer(std::deque<Step> steps,
                           std::chrono::milliseconds bound = kModalWaitBound);
    bool Done() const { return steps_.empty(); }
    // Turns the event loop until every step has acted or one ran out of
    // time; false then, with Failure() saying why.
    bool Finish();
    const QString& Failure() const { return failure_; }

  private:
    void Poll();
    void GiveUp();

    std::deque<Step> steps_;
    std::chrono::milliseconds bound_;
    QDeadlineTimer deadline_;
    QString failure_;
    QTimer timer_;
};

// The controls under root that a screen reader would announce without a
// name, as "Role 'object name' (class)": every visible button, box, field,
// list, slider and spin box, and every menu item. Scroll bars are left
// out (no keyboard reaches them).
QStringList UnnamedControls(QWidget* root);

// The visible message box, if any.
QMessageBox* VisibleMessageBox();
// A step: records the visible message box's text and presses the button.
ModalAnswerer::Step AnswerMessageBox(QMessageBox::StandardButton button, QStringList* texts);

}  // namespace tarvik::test

// Fails the running test function with the answerer's one-line reason
// unless every step acted within its bound.
#define TARVIK_VERIFY_ANSWERED(answerer)             \
    do {                                             \
        if (!(answerer).Finish()) {                  \
            QFAIL(qPrintable((answerer).Failure())); \
        }                                            \
    } while (false)

// A test program's main: the private folders first, then the application
// (as QTEST_MAIN makes it) and the test object.
#define TARVIK_GUI_TEST_MAIN(TestObject, name)              \
    int main(int argc, char** argv) {                       \
        tarvik::test::UsePrivateUserFolders(name);          \
        QApplication app(argc, argv);                       \
        app.setAttribute(Qt::AA_Use96Dpi, true);            \
        TestObject tc;                                      \
        QTEST_SET_MAIN_SOURCE_PATH                          \
        const int status = QTest::qExec(&tc, argc, argv);   \
        return tarvik::test::EndPrivateUserFolders(status); \
    }
