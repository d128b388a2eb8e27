// The Convert command: its checks and warnings in order, a run under the
// progress window to the end, and runs stopped or continued from the
// question that closing the progress window asks.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "core/job.h"
#include "core/settings.h"
#include "engine/conversion.h"
#include "gui/input_folders.h"
#include "gui/main_window.h"
#include "gui/progress_window.h"
#include "gui_test_support.h"

namespace tarvik {
namespace {

constexpr char kAskBreak[] = "Do you want to break the conversion?";

ProgressWindow* VisibleProgress() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<ProgressWindow*>(widget);
            window != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// What the progress window showed at the end of a run.
struct RunEnd {
    QString Title;
    QString Text;
    int Bar = -1;
    int BarMaximum = -1;
    bool OkEnabled = false;
    bool OkEnabledWhileRunning = true;
    bool HeldWhileAsking = false;
};

QString ProgressText(ProgressWindow* window) {
    return window->findChild<QLabel*>()->text();
}

// A step: once the worker is on its file, notes the OK button and lets
// act do its part (queued).
test::ModalAnswerer::Step WhileConverting(RunEnd* end, std::function<void(ProgressWindow*)> act,
                                          const QString& screenshot) {
    return {"the progress window on its file", [end, act, screenshot] {
                ProgressWindow* window = VisibleProgress();
                if (window == nullptr || window->Ended() || !window->windowTitle().contains('(')) {
                    return false;
                }
                end->OkEnabledWhileRunning = window->findChild<QPushButton*>()->isEnabled();
                if (!screenshot.isEmpty()) {
                    test::SaveScreenshot(window, screenshot);
                }
                QTimer::singleShot(0, window, [window, act] { act(window); });
                return true;
            }};
}

// A step: answers the stop question once the worker is held at its gate.
test::ModalAnswerer::Step AnswerBreak(QMessageBox::StandardButton button, RunEnd* end) {
    return {QString("the stop question with the worker held"), [button, end] {
                QMessageBox* box = test::VisibleMessageBox();
                if (box == nullptr || box->text() != kAskBreak || !ConversionWorkerHeld()) {
                    return false;
                }
                end->HeldWhileAsking = true;
                QAbstractButton* press = box->button(button);
                QTimer::singleShot(0, press, [press] { press->click(); });
                return true;
            }};
}

// A step: saves the visible message box as a picture (none when name is
// empty) and leaves it open for the next step.
test::ModalAnswerer::Step WithScreenshot(const QString& name) {
    return {QString("a message box to photograph"), [name] {
                QMessageBox* box = test::VisibleMessageBox();
                if (box == nullptr) {
                    return false;
                }
                if (!name.isEmpty()) {
                    test::SaveScreenshot(box, name);
                }
                return true;
            }};
}

// A step: records the end state and presses OK (or the close box).
test::ModalAnswerer::Step AtEnd(RunEnd* end, bool closeBox, const QString& screenshot) {
    return {QString("the progress window at the end of the run"), [end, closeBox, screenshot] {
                ProgressWindow* window = VisibleProgress();
                if (window == nullptr || !window->Ended()) {
                    return false;
                }
                auto* bar = window->findChild<QProgressBar*>();
                auto* ok = window->findChild<QPushButton*>();
                *end =
                    RunEnd{window->windowTitle(), ProgressText(window), bar->value(),
                           bar->maximum(),        ok->isEnabled(),      end->OkEnabledWhileRunning,
                           end->HeldWhileAsking};
                if (!screenshot.isEmpty()) {
                    test::SaveScreenshot(window, screenshot);
                }
                if (closeBox) {
                    QTimer::singleShot(0, window, [window] { window->close(); });
                } else {
                    QTimer::singleShot(0, ok, [ok] { ok->click(); });
                }
                return true;
            }};
}

}  // namespace

class ConversionRunTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        test::PrepareWindowTest();
        photos_ = test::MakeFolder("photos");
        photo_ = photos_ + "photo.jpg";
        QVERIFY(test::WritePhoto(photo_, 320, 240));
        large_ = photos_ + "large.jpg";
        QVERIFY(test::WritePhoto(large_, 3000, 2000));
        QVERIFY(test::WriteText(photos_ + "empty.jpg", ""));
        QVERIFY(test::WriteText(photos_ + "mark.png", "x"));
        QVERIFY(!test::MakeFolder("photos/album").empty());
    }

    void init() {
        ResetSettings(false);
        ResetJob();
        out_ = test::MakeFolder("out");
    }

    // Each refused job shows one warning; one about a file or a folder has
    // the line naming it and the cause below the described text.
    void warnings_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("resize");     // -1 off, else width and height as 10 * w + h
        QTest::addColumn<int>("watermark");  // 0 none, 1 unknown font, 2 no picture, 3 missing,
                                             // 4 an empty file
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("status");
        const QString stopped = "Conversion stopped";
        const QString noInput = "No input file(s) found. Please, add valid file(s) and try again!";
        const QString photos = QString::fromStdString(photos_);
        const QString jpeg = "JPEG files end in .jpg, .jpeg, .jpe, .jif";
        const QString missing = ": No such file or directory";
        const QString badFolder = "The following output folder is invalid or doesn't exist:\n";
        const QString correct = "\n\nPlease, correct the output path and try again!";
        QTest::newRow("empty input box") << ""
                                         << "out" << -1 << 0 << noInput << "" << stopped;
        QTest::newRow("not an accepted extension")
            << "mark.png"
            << "out" << -1 << 0 << noInput
            << "  " + photos + "mark.png: is not a JPEG file; " + jpeg << stopped;
        QTest::newRow("a missing file of another kind")
            << "gone.png"
            << "out" << -1 << 0 << noInput
            << "  " + photos + "gone.png: is not a JPEG file; " + jpeg << stopped;
        QTest::newRow("an empty file") << "empty.jpg"
                                       << "out" << -1 << 0 << noInput
                                       << "  " + photos + "empty.jpg: is an empty file" << stopped;
        QTest::newRow("a folder") << "album"
                                  << "out" << -1 << 0 << noInput
                                  << "  " + photos + "album: is a folder" << stopped;
        QTest::newRow("the input comes before the folder")
            << ""
            << "" << -1 << 0 << noInput << "" << stopped;
        QTest::newRow("no output folder")
            << "photo.jpg"
            << "" << -1 << 0
            << "The output folder's field is empty. Please, select existed output folder and try "
               "again!"
            << "" << stopped;
        QTest::newRow("missing output folder")
            << "photo.jpg"
            << "missing" << -1 << 0 << badFolder + Folder("missing/") + correct
            << "  " + Folder("missing/") + missing << stopped;
        QTest::newRow("a file as output folder")
            << "photo.jpg"
            << "photos/photo.jpg" << -1 << 0 << badFolder + Folder("photos/photo.jpg/") + correct
            << "  " + Folder("photos/photo.jpg/") + ": is not a folder" << stopped;
        QTest::newRow("width and height 0 report the width alone")
            << "photo.jpg"
            << "out" << 0 << 0 << "Invalid resize width value!"
            << "" << stopped;
        QTest::newRow("height 0") << "photo.jpg"
                                  << "out" << 50 << 0 << "Invalid resize height value!"
                                  << "" << stopped;
        QTest::newRow("resize comes before the watermark")
            << "photo.jpg"
            << "out" << 1 << 1 << "Invalid resize width value!"
            << "" << stopped;
        QTest::newRow("unknown font")
            << "photo.jpg"
            << "out" << -1 << 1
            << "Unable to load selected font for a watermark: No Such Font Family Xq"
            << ""
            << "Preparing...";
        QTest::newRow("no watermark picture")
            << "photo.jpg"
            << "out" << -1 << 2 << "Selected watermark image is invalid/empty!"
            << ""
            << "Preparing...";
        QTest::newRow("missing watermark picture")
            << "photo.jpg"
            << "out" << -1 << 3
            << "Unable to load selected file as a watermark image: " + Folder("gone.png")
            << "  " + Folder("gone.png") + missing << "Preparing...";
        QTest::newRow("empty watermark picture")
            << "photo.jpg"
            << "out" << -1 << 4
            << "Unable to load selected file as a watermark image: " + photos + "empty.jpg"
            << "  " + photos + "empty.jpg: is an empty file"
            << "Preparing...";
    }

    void warnings() {
        QFETCH(QString, input);
        QFETCH(QString, folder);
        QFETCH(int, resize);
        QFETCH(int, watermark);
        QFETCH(QString, warning);
        QFETCH(QString, detail);
        QFETCH(QString, status);
        if (resize >= 0) {
            Settings.Transform.DoImageResize = 1;
            Settings.Transform.ImageWidth = resize / 10;
            Settings.Transform.ImageHeight = resize % 10;
        }
        Settings.Watermark.DoWatermark = static_cast<Byte>(watermark == 0   ? 0
                                                           : watermark == 1 ? 1
                                                                            : 2);
        Settings.Watermark.Font = "No Such Font Family Xq";
        Settings.Watermark.Image = watermark == 3   ? Folder("gone.png").toStdString()
                                   : watermark == 4 ? photos_ + "empty.jpg"
                                                    : "";
        MainWindow window;
        window.Finish();
        Show(window, input.isEmpty() ? "" : photos_ + input.toStdString(),
             folder.isEmpty() ? "" : Folder(folder).toStdString());

        QStringList seen;
        const QString shot = detail.isEmpty()
                                 ? QString()
                                 : "warning_" + QString(QTest::currentDataTag()).replace(' ', '_');
        test::ModalAnswerer answerer(
            {WithScreenshot(shot), test::AnswerMessageBox(QMessageBox::Ok, &seen)});
        QTest::mouseClick(window.ConvertButton(), Qt::LeftButton);
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(seen, QStringList{detail.isEmpty() ? warning : warning + "\n" + detail});
        QCOMPARE(window.Controls().StatusText->text(), status);
        QVERIFY(test::ReadText(out_ + "photo.bmp").empty());
    }

    // With no folder chosen, a photo added to the window makes its own
    // folder the output folder: the BMP lands beside it, and a second
    // photo of another folder, once the box is cleared by New, beside its.
    void outputBesideItsInputWithoutAChosenFolder() {
        const std::string other = test::MakeFolder("other");
        const std::string second = other + "second.jpg";
        QVERIFY(test::WritePhoto(second, 48, 64));
        MainWindow window;
        window.Finish();
        Settings.File.RecentOutFolders.clear();
        for (const std::string& photo : {photo_, second}) {
            NewInput(window.Controls());
            QVERIFY(window.Controls().OutputFolderBox->currentText().isEmpty());
            QCOMPARE(AddInputFile(window.Controls(), photo), 1);
            const std::string folder = photo.substr(0, photo.rfind('/') + 1);
            QCOMPARE(window.Controls().OutputFolderBox->currentText(),
                     QString::fromStdString(folder));
            RunEnd end;
            test::ModalAnswerer answerer({AtEnd(&end, false, "")});
            window.RunCommand(14);
            TARVIK_VERIFY_ANSWERED(answerer);
            QCOMPARE(end.Text, QString("Files converted: 1 of 1"));
            const std::string bmp = photo.substr(0, photo.size() - 4) + ".bmp";
            QVERIFY2(test::ReadText(bmp).starts_with("BM"), bmp.c_str());
        }
        // Each holds its own picture: the second is upright, 48 x 64.
        const std::string bytes = test::ReadText(other + "second.bmp");
        QCOMPARE(static_cast<int>(static_cast<unsigned char>(bytes[18])), 48);
        QCOMPARE(static_cast<int>(static_cast<unsigned char>(bytes[22])), 64);
        QVERIFY(!test::Exists(photos_ + "second.bmp"));
    }

    void completeRun() {
        MainWindow window;
        window.Finish();
        Show(window, photo_, out_);
        Settings.File.RecentOutFolders = "/else/";
        RunEnd end;
        test::ModalAnswerer answerer({AtEnd(&end, false, "progress_window_complete")});
        window.RunCommand(14);
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(end.Title, QString("Conversion complete (1/1)"));
        QCOMPARE(end.Text, QString("Files converted: 1 of 1"));
        QCOMPARE(end.Bar, 2);
        QCOMPARE(end.BarMaximum, 2);
        QVERIFY(end.OkEnabled);
        QCOMPARE(window.Controls().StatusText->text(), QString("Conversion complete"));
        QVERIFY(test::ReadText(out_ + "photo.bmp").starts_with("BM"));
        QCOMPARE(QString::fromStdString(Settings.File.RecentOutFolders),
                 QString::fromStdString(out_) + "\t/else/");
        // The box, the job and the input stay, so Convert runs again.
        QCOMPARE(window.Controls().InputFileBox->text(), QString::fromStdString(photo_));
    }

    // A file that does not exist passes the checks and is not converted; a
    // folder without its separator is used with one; the close box ends the
    // window like OK.
    void missingFileAndBareFolder() {
        MainWindow window;
        window.Finish();
        const std::string bare = out_.substr(0, out_.size() - 1);
        Settings.File.RecentOutFolders = bare;
        Job.OutputFolder = bare;
        RefreshOutputFolderBox(window.Controls());
        window.Controls().InputFileBox->setText(QString::fromStdString(photos_ + "gone.jpg"));
        RunEnd end;
        test::ModalAnswerer answerer({AtEnd(&end, true, "")});
        window.RunCommand(14);
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(end.Text, QString("Files converted: 0 of 1"));
        QVERIFY(!VisibleProgress());
        QCOMPARE(QString::fromStdString(Settings.File.RecentOutFolders),
                 QString::fromStdString(out_ + "\t" + bare));
    }

    // Closing the window during a run holds the worker while it asks; No
    // goes on to the end, Yes lets the current file finish and stops.
    void breakQuestion_data() {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        QTest::newRow("No continues") << false << "Conversion complete (1/1)"
                                      << "Files converted: 1 of 1"
                                      << "Conversion complete";
        QTest::newRow("Yes stops") << true << "Conversion stopped (1/1)"
                                   << "Conversion stopped"
                                   << "Conversion stopped";
    }

    void breakQuestion() {
        QFETCH(bool, stop);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, status);
        // An arbitrary angle makes the large photo take a while.
        Settings.Transform.DoImageRotation = 1;
        Settings.Transform.ImageRotation = 33;
        MainWindow window;
        window.Finish();
        Show(window, large_, out_);
        RunEnd end;
        const QString name = stop ? "stopped" : "continued";
        test::ModalAnswerer answerer({
            WhileConverting(
                &end, [](ProgressWindow* w) { w->close(); }, "progress_window_running"),
            AnswerBreak(stop ? QMessageBox::Yes : QMessageBox::No, &end),
            AtEnd(&end, false, "progress_window_" + name),
        });
        window.RunCommand(14);
        TARVIK_VERIFY_ANSWERED(answerer);
        QVERIFY(!end.OkEnabledWhileRunning);
        QVERIFY(end.HeldWhileAsking);
        QCOMPARE(end.Title, title);
        QCOMPARE(end.Text, text);
        QCOMPARE(window.Controls().StatusText->text(), status);
        QVERIFY(!ConversionWorkerRunning());
        QVERIFY(test::ReadText(out_ + "large.bmp").starts_with("BM"));  // the file finished
    }

    void shortenPath_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxChars");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short") << "/a/b.jpg" << 40 << "/a/b.jpg";
        QTest::newRow("exactly the limit") << "0123456789" << 10 << "0123456789";
        QTest::newRow("one over") << "0123456789A" << 10 << "012...89A";
        QTest::newRow("forty") << QString(50, 'x') + "END" << 40
                               << QString(18, 'x') + "..." + QString(15, 'x') + "END";
        QTest::newRow("empty") << "" << 5 << "";
        QTest::newRow("characters, not bytes") << "ääääääääääää" << 10 << "äää...äää";
    }

    void shortenPath() {
        QFETCH(QString, text);
        QFETCH(int, maxChars);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(ShortenPath(text.toStdString(), maxChars)), expected);
    }

  private:
    // A path beside the photos folder.
    QString Folder(const QString& name) const {
        return QString::fromStdString(RootOf(photos_)) + name;
    }

    static std::string RootOf(const std::string& folder) {
        const std::string trimmed = folder.substr(0, folder.size() - 1);
        return trimmed.substr(0, trimmed.rfind('/') + 1);
    }

    // The input box and the output folder as a user leaves them.
    static void Show(MainWindow& window, const std::string& input, const std::string& folder) {
        const MainControls& c = window.Controls();
        c.InputFileBox->setText(QString::fromStdString(input));
        if (!folder.empty()) {
            Settings.File.RecentOutFolders = folder;
            Job.OutputFolder = folder;
            RefreshOutputFolderBox(c);
        }
    }

    std::string photos_;
    std::string photo_;
    std::string large_;
    std::string out_;
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::ConversionRunTest, "conversion-run")
#include "conversion_run_test.moc"
