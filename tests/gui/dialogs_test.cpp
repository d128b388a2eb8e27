// The small dialogs driven like a user would: About with its links and
// keys, the file-converter finder with its cleaning rules and warning, the
// uninstall window, and the screenshot mode's pictures. Every dialog is
// saved as a screenshot for viewing.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "core/job.h"
#include "core/product.h"
#include "core/settings.h"
#include "gui/about_window.h"
#include "gui/commands.h"
#include "gui/desktop_links.h"
#include "gui/finder_window.h"
#include "gui/main_window.h"
#include "gui/screenshot_mode.h"
#include "gui/themes.h"
#include "gui/uninstall_window.h"
#include "gui_test_support.h"

namespace tarvik {
namespace {

template <typename Dialog>
Dialog* VisibleDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<Dialog*>(widget);
            dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// Where a click lands on the text of a link label.
QPoint OnLinkText(const QLabel* link) {
    return {link->fontMetrics().averageCharWidth() * 3, link->height() / 2};
}

// The box of pixels that differ between two pictures of one size.
QRect ChangedPixels(const QImage& before, const QImage& after) {
    QRect changed;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
            }
        }
    }
    return changed;
}

QUrl Url(std::string_view text) {
    return QUrl(QString::fromStdString(std::string(text)));
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  public slots:
    void openUrl(const QUrl& url) { opened_ << url; }

  private slots:
    void initTestCase() {
        test::PrepareWindowTest();
        for (const char* scheme : {"http", "https", "mailto"}) {
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
        }
    }

    void cleanupTestCase() {
        for (const char* scheme : {"http", "https", "mailto"}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }

    void init() {
        ResetSettings(false);
        Settings.Window.X = 100;
        Settings.Window.Y = 100;
        ResetJob();
        opened_.clear();
    }

    void aboutShowsBannerTitleNoticeAndLinks() {
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.CommandAction(kCommandAbout)->trigger();
        AboutWindow* about = VisibleDialog<AboutWindow>();
        QVERIFY(about != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QCOMPARE(about->windowTitle(), QString("About..."));
        QCOMPARE(about->size(), QSize(kAboutWidth, kAboutHeight));
        QCOMPARE(about->windowModality(), Qt::WindowModal);
        QCOMPARE(QApplication::activeModalWidget(), about);

        const auto* banner = about->findChild<QLabel*>("AboutBanner");
        QVERIFY(banner != nullptr);
        QCOMPARE(banner->pixmap().size(), QSize(360, 40));
        QCOMPARE(banner->pos(), QPoint(0, 0));
        QStringList texts;
        for (const QLabel* label : about->findChildren<QLabel*>()) {
            texts << label->text();
        }
        for (const char* text : {"Quorvane JPG to BMP 2.8", "Web:", "E-mail:"}) {
            QVERIFY2(texts.contains(text), text);
        }
        QVERIFY(texts.contains(QString::fromStdString(std::string(CopyrightNotice))));
        // The links show their whole address.
        for (const QLabel* link : {about->WebLink(), about->MailLink()}) {
            QVERIFY2(link->width() >= link->sizeHint().width(), qPrintable(link->text()));
        }
        // Everything inside the dialog, nothing cut off at its edges.
        for (const QWidget* child : about->findChildren<QWidget*>()) {
            const QRect inDialog(child->mapTo(about, QPoint(0, 0)), child->size());
            QVERIFY2(about->rect().contains(inDialog), qPrintable(child->objectName()));
        }
        test::SaveScreenshot(about, "dialog_about");

        QTest::mouseClick(about->WebLink(), Qt::LeftButton, {}, OnLinkText(about->WebLink()));
        QTest::mouseClick(about->MailLink(), Qt::LeftButton, {}, OnLinkText(about->MailLink()));
        QCOMPARE(opened_, (QList<QUrl>{Url(HomePageUrl), Url("mailto:support@quorvane.example")}));
        QVERIFY(about->isVisible());
        about->close();
    }

    void aboutCloses_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Return", "Escape", "OK", "close box"}) {
            QTest::newRow(how) << QString(how);
        }
    }

    void aboutCloses() {
        QFETCH(QString, how);
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.RunCommand(kCommandAbout);
        QPointer<AboutWindow> about = VisibleDialog<AboutWindow>();
        QVERIFY(about != nullptr);
        QTRY_COMPARE(QApplication::activeWindow(), about.data());
        if (how == "Return") {
            QTest::keyClick(about, Qt::Key_Return);
        } else if (how == "Escape") {
            QTest::keyClick(about, Qt::Key_Escape);
        } else if (how == "OK") {
            QTest::mouseClick(about->OkButton(), Qt::LeftButton);
        } else {
            about->close();
        }
        QTRY_VERIFY(about.isNull());  // gone, not just hidden
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(opened_.isEmpty());
    }

    void keepLettersAndDigits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("plain") << "Jpg2000"
                               << "Jpg2000";
        QTest::newRow("dots and blanks") << " .j p-g! "
                                         << "jpg";
        QTest::newRow("edges of the ranges") << "/09:@AZ[`az{"
                                             << "09AZaz";
        QTest::newRow("nothing kept") << "..."
                                      << "";
        QTest::newRow("accented letters are not ASCII") << "téf"
                                                        << "tf";
    }

    void keepLettersAndDigits() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QCOMPARE(QString::fromStdString(KeepLettersAndDigits(text.toStdString())), kept);
    }

    void cleanFinderInput_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("filled");
        QTest::addColumn<QString>("cleanFrom");
        QTest::addColumn<QString>("cleanTo");
        QTest::newRow("lower-cased and cleaned") << " .JPG"
                                                 << "Tiff!" << true << "jpg"
                                                 << "tiff";
        QTest::newRow("12 characters, then cleaned") << "j.p.e.g.t.i.f.f"
                                                     << "png" << true << "jpegti"
                                                     << "png";
        QTest::newRow("12 letters kept whole") << "abcdefghijklmn"
                                               << "x" << true << "abcdefghijkl"
                                               << "x";
        QTest::newRow("three dots") << "..."
                                    << "bmp" << false << ""
                                    << "bmp";
        QTest::newRow("empty To") << "png"
                                  << "" << false << "png"
                                  << "";
        QTest::newRow("letters only after 12 characters") << "............png"
                                                          << "bmp" << false << ""
                                                          << "bmp";
    }

    void cleanFinderInput() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, filled);
        QFETCH(QString, cleanFrom);
        QFETCH(QString, cleanTo);
        QCOMPARE(CleanFinderInput(from, to), filled);
        QCOMPARE(QString::fromStdString(Job.FinderFrom), cleanFrom);
        QCOMPARE(QString::fromStdString(Job.FinderTo), cleanTo);
    }

    void finderSearch_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("opens");  // empty: the warning instead
        QTest::newRow("PNG to jpeg") << "PNG"
                                     << "jpeg"
                                     << "https://www.quorvane.example/find/png-jpeg/";
        QTest::newRow("blank and dot before JPG") << " .JPG"
                                                  << "Tiff!"
                                                  << "https://www.quorvane.example/find/jpg-tiff/";
        QTest::newRow("three dots warn") << "..."
                                         << "bmp"
                                         << "";
        QTest::newRow("empty fields warn") << ""
                                           << ""
                                           << "";
    }

    // Return in the From field searches: the finder closes and the page
    // opens, or the warning shows and the finder keeps its texts.
    void finderSearch() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, opens);
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.CommandAction(kCommandFindConverter)->trigger();
        QPointer<FinderWindow> finder = VisibleDialog<FinderWindow>();
        QVERIFY(finder != nullptr);
        // A dialog counts as active while its owner is; wait for the finder itself.
        QTRY_COMPARE(QApplication::activeWindow(), finder.data());
        QCOMPARE(finder->windowTitle(), QString("Find a File Converter"));
        QCOMPARE(finder->windowModality(), Qt::WindowModal);
        QCOMPARE(QApplication::focusWidget(), finder->FromBox());
        QTest::keyClicks(finder->FromBox(), from);
        QTest::keyClick(finder->FromBox(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), to);
        QCOMPARE(finder->ToBox()->text(), to);
        if (opens.isEmpty()) {
            test::SaveScreenshot(finder, "dialog_finder");
        }

        QStringList warnings;
        test::ModalAnswerer answerer({test::AnswerMessageBox(QMessageBox::Ok, &warnings)});
        QTest::keyClick(finder->FromBox(), Qt::Key_Return);
        if (opens.isEmpty()) {
            TARVIK_VERIFY_ANSWERED(answerer);
            QCOMPARE(warnings, QStringList{"Please, fill all required fields and try again!"});
            QVERIFY(finder->isVisible());
            QCOMPARE(finder->FromBox()->text(), from);
            QCOMPARE(finder->ToBox()->text(), to);
            QVERIFY(opened_.isEmpty());
            QTest::keyClick(finder->FromBox(), Qt::Key_Escape);
        } else {
            QCOMPARE(opened_, QList<QUrl>{QUrl(opens)});
            QVERIFY(warnings.isEmpty());
        }
        QTRY_VERIFY(finder.isNull());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // With no program to open things (no xdg-open), every command that
    // hands a file or address to the desktop says so in a box that names
    // the target and the package to install.
    void noOpener_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::newRow("F1") << "F1" << QString::fromStdString(ManualPath());
        QTest::newRow("Send Feedback") << "feedback" << QString::fromStdString(FeedbackLink());
        QTest::newRow("Visit Homepage")
            << "homepage" << QString::fromStdString(std::string(HomePageUrl));
        QTest::newRow("About's web link")
            << "web link" << QString::fromStdString(std::string(HomePageUrl));
        QTest::newRow("About's mail link") << "mail link"
                                           << "mailto:support@quorvane.example";
        QTest::newRow("finder search") << "finder"
                                       << "https://www.quorvane.example/find/png-bmp/";
    }
    void noOpener() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        // The offscreen platform opens nothing without the test's handlers.
        struct NoHandlers {
            QObject* receiver;
            NoHandlers(QObject* r) : receiver(r) {
                for (const char* scheme : {"file", "mailto", "http", "https"}) {
                    QDesktopServices::unsetUrlHandler(scheme);
                }
            }
            ~NoHandlers() {
                for (const char* scheme : {"file", "mailto", "http", "https"}) {
                    QDesktopServices::setUrlHandler(scheme, receiver, "openUrl");
                }
            }
        } noHandlers(this);
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QStringList warnings;
        test::ModalAnswerer answerer(
            {{"the box saying nothing opens " + target, [&warnings, source] {
                  QMessageBox* box = test::VisibleMessageBox();
                  if (box == nullptr) {
                      return false;
                  }
                  warnings << box->windowTitle() << box->text();
                  if (source == "F1") {
                      test::SaveScreenshot(box, "dialog_no_opener");
                  }
                  box->button(QMessageBox::Ok)->click();
                  return true;
              }}});
        if (source == "F1") {
            QTest::keyClick(&window, Qt::Key_F1);
        } else if (source == "feedback") {
            window.RunCommand(kCommandFeedback);
        } else if (source == "homepage") {
            window.RunCommand(kCommandHomepage);
        } else if (source == "finder") {
            window.CommandAction(kCommandFindConverter)->trigger();
            FinderWindow* finder = VisibleDialog<FinderWindow>();
            QVERIFY(finder != nullptr);
            finder->FromBox()->setText("png");
            finder->ToBox()->setText("bmp");
            QTest::keyClick(finder->FromBox(), Qt::Key_Return);
        } else {
            window.CommandAction(kCommandAbout)->trigger();
            AboutWindow* about = VisibleDialog<AboutWindow>();
            QVERIFY(about != nullptr);
            QVERIFY(QTest::qWaitForWindowExposed(about));
            QLabel* link = source == "web link" ? about->WebLink() : about->MailLink();
            QTest::mouseClick(link, Qt::LeftButton, {}, OnLinkText(link));
            TARVIK_VERIFY_ANSWERED(answerer);
            QVERIFY(about->isVisible());
            about->close();
        }
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(warnings.value(0), QString("Warning"));
        QCOMPARE(warnings.value(1), "The desktop could not open:\n" + target +
                                        "\n\nNo program is set up to open it. Install the package "
                                        "xdg-utils (it provides xdg-open) and try again.");
        QVERIFY(opened_.isEmpty());
    }

    void uninstall_data() {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("next");  // false: the close box
        QTest::addColumn<bool>("opensPage");
        QTest::newRow("checked, Next") << true << true << true;
        QTest::newRow("unchecked, Next") << false << true << false;
        QTest::newRow("checked, close box") << true << false << false;
    }

    void uninstall() {
        QFETCH(bool, checked);
        QFETCH(bool, next);
        QFETCH(bool, opensPage);
        bool wasChecked = false;
        QSize size;
        test::ModalAnswerer answerer(
            {{"the uninstall window", [&] {
                  UninstallWindow* window = VisibleDialog<UninstallWindow>();
                  if (window == nullptr) {
                      return false;
                  }
                  wasChecked = window->VisitCheck()->isChecked();
                  size = window->size();
                  if (!checked) {
                      QTest::mouseClick(window->VisitCheck(), Qt::LeftButton);
                  }
                  if (checked && next) {
                      test::SaveScreenshot(window, "dialog_uninstall");
                  }
                  QTimer::singleShot(0, window, [window, next] {
                      if (next) {
                          window->NextButton()->click();
                      } else {
                          window->close();
                      }
                  });
                  return true;
              }}});
        QCOMPARE(RunUninstallWindow(), 0);
        TARVIK_VERIFY_ANSWERED(answerer);
        QVERIFY(wasChecked);
        QCOMPARE(size, QSize(300, 100));
        QCOMPARE(opened_,
                 opensPage ? QList<QUrl>{QUrl("https://www.quorvane.example/tarvik/uninstall.html")}
                           : QList<QUrl>{});
        QVERIFY(!test::Exists(Settings.ConfigFilePath));
    }

    void screenshotFolder_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("folder");
        const QString shots = QString::fromStdString(test::MakeFolder("shots"));
        QTest::newRow("existing, slash added") << shots.chopped(1) << shots;
        QTest::newRow("existing with its slash") << shots << shots;
        QTest::newRow("empty: the program's folder")
            << "" << QString::fromStdString(ExecutableFolder());
        QTest::newRow("missing") << shots + "missing"
                                 << "";
        QTest::newRow("a file, not a folder")
            << QString::fromStdString(ExecutableFolder()) + QCoreApplication::applicationName()
            << "";
    }

    void screenshotFolder() {
        QFETCH(QString, argument);
        QFETCH(QString, folder);
        QCOMPARE(QString::fromStdString(ScreenshotFolder(argument.toStdString())), folder);
    }

    void thumbnailSize_data() {
        QTest::addColumn<QSize>("full");
        QTest::addColumn<QSize>("thumbnail");
        QTest::newRow("the window") << QSize(510, 260) << QSize(180, 92);       // 91.76
        QTest::newRow("rounds down") << QSize(500, 254) << QSize(180, 91);      // 91.44
        QTest::newRow("half rounds up") << QSize(360, 241) << QSize(180, 121);  // 120.5
        QTest::newRow("exact") << QSize(360, 240) << QSize(180, 120);
    }

    void thumbnailSize() {
        QFETCH(QSize, full);
        QFETCH(QSize, thumbnail);
        QCOMPARE(ThumbnailSize(full), thumbnail);
    }

    // The address sits at the bottom right: its right edge 35 pixels from
    // the picture's, its top 26 from the bottom.
    void homePageAddressPlacement() {
        QImage blank(510, 260, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QImage drawn = blank;
        DrawHomePageAddress(drawn);
        const QRect changed = ChangedPixels(blank, drawn);
        QVERIFY(!changed.isEmpty());
        QVERIFY2(changed.right() <= 510 - 35 && changed.right() >= 510 - 35 - 6,
                 qPrintable(QString::number(changed.right())));
        QVERIFY2(changed.top() >= 260 - 26 && changed.bottom() < 260 - 26 + 16,
                 qPrintable(QString::number(changed.top())));
        QVERIFY(changed.width() > 100);
    }

    // In the process, on the offscreen platform: both pictures, the
    // thumbnail 180 pixels wide, the sample values shown, no config.ini.
    void screenshotMode() {
        const std::string folder = test::MakeFolder("screenshot-mode");
        QCOMPARE(RunScreenshotMode(folder), 0);
        QImage full(QString::fromStdString(folder + "tarvik1.jpg"));
        QImage thumbnail(QString::fromStdString(folder + "tarvik1x.jpg"));
        QVERIFY(!full.isNull());
        QVERIFY(full.width() >= 510 && full.height() >= 260);
        QCOMPARE(thumbnail.size(), ThumbnailSize(full.size()));
        QCOMPARE(thumbnail.width(), 180);
        QVERIFY(!test::Exists(Settings.ConfigFilePath));
        QCOMPARE(QString::fromStdString(Job.RunMode), QString("T"));
        full.save(QString::fromStdString(std::string(TARVIK_TEST_OUTPUT_DIR) +
                                         "/dialog_screenshot_mode.png"));
        Job.RunMode.clear();
    }

    void screenshotSamples() {
        const std::vector<std::string> paths = ScreenshotSamplePaths();
        QCOMPARE(paths.size(), std::size_t{7});
        QCOMPARE(QString::fromStdString(paths[3]), QString("/images/quorvane.jpg"));
        QCOMPARE(QString::fromStdString(paths[0]), QString("/images/pic0102.jpg"));
    }

  private:
    QList<QUrl> opened_;
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::DialogsTest, "dialogs")
#include "dialogs_test.moc"
