// The main window: its resize behaviour, every command from the menu, the
// toolbar, the field buttons and the shortcuts, dropped files, the icon
// sizes, and what it stores when it closes.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <memory>

#include "core/job.h"
#include "core/settings.h"
#include "gui/commands.h"
#include "gui/main_window.h"
#include "gui/message_boxes.h"
#include "gui/mnemonics.h"
#include "gui/progress_window.h"
#include "gui/themes.h"
#include "gui/window_geometry.h"
#include "gui_test_support.h"

namespace tarvik {
namespace {

QPoint InWindow(const QWidget* widget, const QWidget* window) {
    return widget->mapTo(window, QPoint(0, 0));
}

struct RowGeometry {
    std::array<int, 3> BoxWidths{};
    std::array<int, 3> ButtonX{};
    int ConvertX = 0;
};

RowGeometry Measure(const MainWindow& window) {
    const MainControls& c = window.Controls();
    const std::array<QWidget*, 3> boxes = {c.InputFileBox, c.OutputFolderBox, c.OutputFormatBox};
    RowGeometry g;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        g.BoxWidths[i] = boxes[i]->width();
        g.ButtonX[i] = InWindow(window.FieldButton(static_cast<int>(i)), &window).x();
    }
    g.ConvertX = InWindow(window.ConvertButton(), &window).x();
    return g;
}

QMenu* MenuHolding(const MainWindow& window, QAction* action) {
    for (QAction* title : window.menuBar()->actions()) {
        if (title->menu() != nullptr && title->menu()->actions().contains(action)) {
            return title->menu();
        }
    }
    return nullptr;
}

QFileDialog* VisibleFileDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(widget);
            dialog != nullptr && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// A step: records the file dialog's title and filters and chooses path
// (a folder when it ends with "/") as a user does: typed into the file
// name field, then Open; it is done once the dialog has closed. (The
// dialog's selectFile() leaves that field alone once it has the focus, and
// whether it has it yet depends on the machine's speed.)
test::ModalAnswerer::Step ChooseInFileDialog(const QString& path, QStringList* seen) {
    struct Chosen {
        bool Pressed = false;
        QPointer<QFileDialog> Dialog;  // null once the dialog is gone
    };
    auto chosen = std::make_shared<Chosen>();
    return {"a file dialog to choose " + path + " and close", [path, seen, chosen] {
                if (chosen->Pressed) {
                    return chosen->Dialog.isNull() || !chosen->Dialog->isVisible();
                }
                QFileDialog* dialog = VisibleFileDialog();
                auto* name =
                    dialog == nullptr ? nullptr : dialog->findChild<QLineEdit*>("fileNameEdit");
                if (name == nullptr) {
                    return false;
                }
                *seen << dialog->windowTitle() << dialog->nameFilters();
                name->setText(path);
                *chosen = Chosen{true, dialog};
                QTimer::singleShot(0, dialog,
                                   [dialog] { QMetaObject::invokeMethod(dialog, "accept"); });
                return false;
            }};
}

std::string ConfigText() {
    return test::ReadText(Settings.ConfigFilePath);
}

bool HasLine(const std::string& text, const std::string& line) {
    return text.find("\r\n" + line + "\r\n") != std::string::npos;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  public slots:
    // The desktop's open action, caught for the test.
    void openUrl(const QUrl& url) { opened_ << url; }

  private slots:
    void cleanupTestCase() {
        for (const char* scheme : {"file", "mailto", "http", "https"}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }

    void initTestCase() {
        test::PrepareWindowTest();
        for (const char* scheme : {"file", "mailto", "http", "https"}) {
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
        }
        folder_ = test::MakeFolder("photos");
        photo_ = folder_ + "photo.jpg";
        QVERIFY(test::WritePhoto(photo_));
    }

    void init() {
        ResetSettings(false);
        Settings.Window.X = 100;
        Settings.Window.Y = 100;
        ResetJob();
        opened_.clear();
    }

    void startsEmpty() {
        MainWindow window;
        window.Finish();
        QCOMPARE(window.windowTitle(), QString("Quorvane JPG to BMP 2.8"));
        QCOMPARE(window.size(), QSize(kMainWindowMinWidth, kMainWindowHeight));
        const MainControls& c = window.Controls();
        QCOMPARE(c.OutputFolderBox->count(), 1);  // one empty entry for an empty history
        QVERIFY(c.OutputFolderBox->currentText().isEmpty());
        QCOMPARE(c.OutputFormatBox->currentText(), QString("BMP (Windows or OS/2 Bitmap)"));
        QVERIFY(c.InputFileBox->text().isEmpty());
        test::SaveScreenshot(&window, "main_window");
    }

    // Choosing another folder in the box makes it the output folder.
    void chooseFolderInBox() {
        Settings.File.RecentOutFolders = "/first/\t/second/";
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QComboBox* box = window.Controls().OutputFolderBox;
        QCOMPARE(box->count(), 2);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(Job.OutputFolder, std::string("/first/"));
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(Job.OutputFolder, std::string("/second/"));
    }

    void resizing_data() {
        QTest::addColumn<int>("dw");
        QTest::addColumn<int>("dh");
        QTest::addColumn<int>("moved");
        QTest::newRow("widen by 100") << 100 << 0 << 100;
        QTest::newRow("widen by 333") << 333 << 0 << 333;
        QTest::newRow("narrower stops at 510") << -100 << 0 << 0;
        QTest::newRow("taller keeps 260") << 0 << 80 << 0;
        QTest::newRow("shorter keeps 260") << 0 << -80 << 0;
    }

    void resizing() {
        QFETCH(int, dw);
        QFETCH(int, dh);
        QFETCH(int, moved);
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const RowGeometry before = Measure(window);
        window.resize(kMainWindowMinWidth + dw, kMainWindowHeight + dh);
        QTest::qWait(20);
        const RowGeometry after = Measure(window);
        QCOMPARE(window.height(), kMainWindowHeight);
        QCOMPARE(window.width(), kMainWindowMinWidth + moved);
        for (std::size_t i = 0; i < 3; ++i) {
            QCOMPARE(after.BoxWidths[i], before.BoxWidths[i] + moved);
            QCOMPARE(after.ButtonX[i], before.ButtonX[i] + moved);
        }
        QCOMPARE(after.ConvertX, before.ConvertX + moved);
        // The boxes end left of their buttons, the buttons left of Convert.
        const MainControls& c = window.Controls();
        QVERIFY(InWindow(c.InputFileBox, &window).x() + after.BoxWidths[0] <= after.ButtonX[0]);
        QVERIFY(after.ButtonX[0] + window.FieldButton(0)->width() < after.ConvertX);
        QVERIFY(after.ConvertX + window.ConvertButton()->width() <= window.width());
    }

    // The stored rectangle is fitted to the screen that holds it: size
    // within the minimum and the available area, moved wholly inside.
    void fitToScreens_data() {
        QTest::addColumn<QList<qint64>>("stored");  // X, Y, Width, Height
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("fitted");
        const QList<QRect> laptop{{0, 0, 1366, 768}};
        const QList<QRect> twoScreens{{0, 0, 1920, 1050}, {1920, 0, 1280, 1024}};
        const QSize min(kMainWindowMinWidth, kMainWindowHeight);
        QTest::newRow("inside stays")
            << QList<qint64>{100, 100, 510, 260} << laptop << QRect(100, 100, 510, 260);
        QTest::newRow("65 x 48 pixels showing")
            << QList<qint64>{1300, 700, 510, 260} << laptop << QRect(856, 508, 510, 260);
        QTest::newRow("off to the left and above")
            << QList<qint64>{-900, -400, 600, 260} << laptop << QRect(0, 0, 600, 260);
        QTest::newRow("far off every screen")
            << QList<qint64>{50000, 90000, 510, 260} << laptop << QRect(856, 508, 510, 260);
        QTest::newRow("2147483647 wide and high")
            << QList<qint64>{100, 100, 2147483647, 2147483647} << laptop << QRect(0, 0, 1366, 768);
        QTest::newRow("largest corner and size")
            << QList<qint64>{2147483647, 2147483647, 2147483647, 2147483647} << laptop
            << QRect(0, 0, 1366, 768);
        QTest::newRow("negative size") << QList<qint64>{10, 10, -5000, -1} << laptop
                                       << QRect(10, 10, min.width(), min.height());
        QTest::newRow("most negative corner")
            << QList<qint64>{-2147483648LL, -2147483648LL, 510, 260} << laptop
            << QRect(0, 0, 510, 260);
        // Saved at scale 1 on a 1280 x 800 screen, opened at scale 2:
        // the screen offers 640 x 400 device-independent pixels.
        QTest::newRow("scale factor 2")
            << QList<qint64>{700, 500, 900, 260} << QList<QRect>{{0, 0, 640, 400}}
            << QRect(0, 140, 640, 260);
        QTest::newRow("second screen keeps it")
            << QList<qint64>{2000, 100, 700, 260} << twoScreens << QRect(2000, 100, 700, 260);
        QTest::newRow("mostly on the second screen")
            << QList<qint64>{1800, 100, 700, 260} << twoScreens << QRect(1920, 100, 700, 260);
        QTest::newRow("right of the second screen")
            << QList<qint64>{4000, 100, 700, 260} << twoScreens << QRect(2500, 100, 700, 260);
        QTest::newRow("a panel at the top")
            << QList<qint64>{100, 0, 510, 260} << QList<QRect>{{0, 30, 1366, 738}}
            << QRect(100, 30, 510, 260);
    }
    void fitToScreens() {
        QFETCH(QList<qint64>, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, fitted);
        const std::vector<QRect> areas(screens.begin(), screens.end());
        const QSize maximum(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        QCOMPARE(FitToScreens({stored[0], stored[1], stored[2], stored[3]}, areas,
                              QSize(kMainWindowMinWidth, kMainWindowHeight), maximum),
                 fitted);
    }

    // The real window with absurd stored values opens on the screen, no
    // larger than it.
    void storedGeometry_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("maximized");
        QTest::newRow("huge") << 100 << 100 << 2147483647 << 0;
        QTest::newRow("huge, maximised") << 100 << 100 << 2147483647 << 1;
        QTest::newRow("negative") << -2147483647 << -5 << -300 << 0;
        QTest::newRow("off screen") << 30000 << 30000 << 600 << 0;
    }
    void storedGeometry() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, width);
        QFETCH(int, maximized);
        Settings.Window = {static_cast<Flag>(maximized), x, y, width, 2147483647};
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.contains(window.frameGeometry()), qPrintable(QString("%1,%2 %3x%4 on %5x%6")
                                                                         .arg(window.x())
                                                                         .arg(window.y())
                                                                         .arg(window.width())
                                                                         .arg(window.height())
                                                                         .arg(screen.width())
                                                                         .arg(screen.height())));
        if (maximized == 0) {
            QCOMPARE(window.height(), kMainWindowHeight);
        }
    }

    void commands_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("source");
        const std::array<std::pair<int, std::array<const char*, 4>>, 8> sources = {{
            {kCommandNew, {"menu", "toolbar", "shortcut", nullptr}},
            {kCommandExit, {"menu", "shortcut", nullptr, nullptr}},
            {kCommandAddInputFile, {"menu", "toolbar", "field", "shortcut"}},
            {kCommandSelectOutputFolder, {"menu", "toolbar", "field", nullptr}},
            {kCommandConvert, {"menu", "toolbar", "shortcut", "button"}},
            {kCommandManual, {"menu", "toolbar", "shortcut", nullptr}},
            {kCommandFeedback, {"menu", "toolbar", nullptr, nullptr}},
            {kCommandHomepage, {"menu", "toolbar", nullptr, nullptr}},
        }};
        for (const auto& [command, list] : sources) {
            for (const char* source : list) {
                if (source != nullptr) {
                    QTest::addRow("%d from %s", command, source) << command << QString(source);
                }
            }
        }
    }

    void commands() {
        QFETCH(int, command);
        QFETCH(QString, source);
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const MainControls& c = window.Controls();
        c.InputFileBox->setText("/somewhere/else.jpg");
        const std::string chosenFolder = test::MakeFolder("chosen");

        QStringList seen;
        std::deque<test::ModalAnswerer::Step> steps;
        if (command == kCommandAddInputFile) {
            steps.push_back(ChooseInFileDialog(QString::fromStdString(photo_), &seen));
        } else if (command == kCommandSelectOutputFolder) {
            steps.push_back(ChooseInFileDialog(QString::fromStdString(chosenFolder), &seen));
        } else if (command == kCommandConvert) {
            c.InputFileBox->clear();
            steps.push_back(test::AnswerMessageBox(QMessageBox::Ok, &seen));
        }
        test::ModalAnswerer answerer(std::move(steps));
        Trigger(window, command, source);
        TARVIK_VERIFY_ANSWERED(answerer);
        CheckEffect(window, command, seen, chosenFolder);
    }

    // Mnemonics come from the texts, a distinct one per menu title, per
    // menu item and per label, never x (Alt+X ends the program); a text's
    // own mnemonic and a literal "&" are kept.
    void mnemonics_data() {
        QTest::addColumn<QString>("reserved");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("first letters") << "" << QStringList{"File", "Converter", "Help"}
                                       << QStringList{"&File", "&Converter", "&Help"};
        QTest::newRow("a word's first letter first")
            << "" << QStringList{"Select Input File...", "Select Output Folder..."}
            << QStringList{"&Select Input File...", "Select &Output Folder..."};
        QTest::newRow("then any letter")
            << "io" << QStringList{"Input File:", "Output Folder:", "Output Format:"}
            << QStringList{"Input &File:", "O&utput Folder:", "Ou&tput Format:"};
        QTest::newRow("reserved letter") << "x" << QStringList{"Exit"} << QStringList{"&Exit"};
        QTest::newRow("reserved first letter")
            << "e" << QStringList{"Exit"} << QStringList{"E&xit"};
        QTest::newRow("own mnemonic kept")
            << "" << QStringList{"E&xit", "Extra"} << QStringList{"E&xit", "&Extra"};
        QTest::newRow("literal ampersand") << "" << QStringList{"Fish & Chips", "Salt && Vinegar"}
                                           << QStringList{"&Fish && Chips", "&Salt && Vinegar"};
        QTest::newRow("nothing free")
            << "ab" << QStringList{"a b", "..."} << QStringList{"a b", "..."};
    }
    void mnemonics() {
        QFETCH(QString, reserved);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, marked);
        MnemonicSet letters(reserved);
        QStringList got;
        for (const QString& text : texts) {
            got << letters.Mark(text);
        }
        QCOMPARE(got, marked);
        QCOMPARE(PlainText("O&utput && Folder:"), QString("Output & Folder"));
    }

    // The real menus: every title and item has a mnemonic, distinct within
    // its menu; Alt+F with the focus in the input box opens the File menu
    // and types nothing.
    void menuMnemonics() {
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSet<QChar> titles;
        for (QAction* title : window.menuBar()->actions()) {
            const QKeySequence key = QKeySequence::mnemonic(title->text());
            QVERIFY2(!key.isEmpty(), qPrintable(title->text()));
            QVERIFY2(!titles.contains(title->text().toLower().at(title->text().indexOf('&') + 1)),
                     qPrintable(title->text()));
            titles.insert(title->text().toLower().at(title->text().indexOf('&') + 1));
            QSet<QChar> items;
            for (QAction* item : title->menu()->actions()) {
                if (item->isSeparator()) {
                    continue;
                }
                const qsizetype at = item->text().indexOf('&');
                QVERIFY2(at >= 0, qPrintable(item->text()));
                const QChar letter = item->text().toLower().at(at + 1);
                QVERIFY2(!items.contains(letter), qPrintable(item->text()));
                items.insert(letter);
                QVERIFY(!item->toolTip().contains('&'));
            }
        }
        QVERIFY(!titles.contains('x'));
        QLineEdit* box = window.Controls().InputFileBox;
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F, Qt::AltModifier);
        QMenu* file = window.menuBar()->actions().front()->menu();
        QTRY_VERIFY(file->isVisible());
        QVERIFY(box->text().isEmpty());
        file->close();
        // The labels reach their boxes.
        for (QLabel* label : window.findChildren<QLabel*>()) {
            if (label->buddy() != nullptr) {
                QVERIFY2(label->text().contains('&'), qPrintable(label->text()));
                QCOMPARE(label->buddy()->accessibleName(), PlainText(label->text()));
            }
        }
        QCOMPARE(window.Controls().OutputFormatBox->accessibleName(), QString("Output Format"));
    }

    // Every control, the picture-only ones among them, has a name for a
    // screen reader and the picture-only ones a tooltip; the new shortcuts.
    void accessibleNames() {
        Settings.File.RecentOutFolders.clear();
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(test::UnnamedControls(&window), QStringList{});
        QCOMPARE(window.ConvertButton()->toolTip(), QString("Convert"));
        QCOMPARE(window.ConvertButton()->accessibleName(), QString("Convert"));
        for (QToolButton* button : window.findChildren<QToolButton*>()) {
            if (button->isVisible() && button->text().isEmpty() == false) {
                QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->text()));
            }
        }
        QCOMPARE(window.CommandAction(kCommandAddInputFile)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(window.CommandAction(kCommandPreferences)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Comma));
    }

    // The progress window's path: shortened between two characters (of
    // any script), then further until it fits the label in pixels, always
    // keeping the file's last characters.
    void fitPathToWidth_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("maxChars");
        QTest::newRow("fits as it is") << "/a/b.jpg" << 40;
        QTest::newRow("wide letters") << "/" + QString(60, 'W') + "/MMMMMMMMMMMMMMMM.jpg" << 40;
        QTest::newRow("narrow letters") << "/" + QString(80, 'i') + "/end.jpg" << 40;
        QTest::newRow("wide, judged short by the estimate")
            << "/" + QString(35, 'W') + ".jpg" << 1000;
        QTest::newRow("Cyrillic and CJK")
            << "/фотографии/" + QString(30, QChar(0x5199)) + "/снимок.jpg" << 40;
    }
    void fitPathToWidth() {
        QFETCH(QString, path);
        QFETCH(int, maxChars);
        QLabel label;
        const QFontMetrics metrics(label.font());
        const int width = 280;
        const QString shown =
            QString::fromStdString(FitPathToWidth(path.toStdString(), maxChars, metrics, width));
        QVERIFY2(metrics.horizontalAdvance(shown) <= width, qPrintable(shown));
        QVERIFY2(!shown.contains(QChar::ReplacementCharacter), qPrintable(shown));
        if (metrics.horizontalAdvance(path) <= width && path.size() <= maxChars) {
            QCOMPARE(shown, path);
        } else {
            QVERIFY(shown.contains("..."));
            QCOMPARE(shown.right(2), path.right(2));
            QCOMPARE(shown.left(2), path.left(2));
        }
    }

    void drops_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("added");
        QTest::newRow("three photos add the first")
            << QStringList{"a.jpg", "b.jpg", "c.jpg"} << "a.jpg";
        QTest::newRow("only the first name is looked at") << QStringList{"a.png", "b.jpg"} << "";
        QTest::newRow("one photo") << QStringList{"c.jpg"} << "c.jpg";
    }

    void drops() {
        QFETCH(QStringList, names);
        QFETCH(QString, added);
        const std::string dropFolder = test::MakeFolder("dropped");
        QList<QUrl> urls;
        for (const QString& name : names) {
            QVERIFY(test::WritePhoto(dropFolder + name.toStdString()));
            urls << QUrl::fromLocalFile(QString::fromStdString(dropFolder) + name);
        }
        MainWindow window;
        window.Finish();
        QMimeData mime;
        mime.setUrls(urls);
        const QPoint at = window.Controls().InputFileBox->mapTo(&window, QPoint(5, 5));
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);

        const MainControls& c = window.Controls();
        const QString expected =
            added.isEmpty() ? QString() : QString::fromStdString(dropFolder) + added;
        QCOMPARE(c.InputFileBox->text(), expected);
        QCOMPARE(InputList.size(), added.isEmpty() ? std::size_t{0} : std::size_t{1});
        QCOMPARE(c.OutputFolderBox->currentText(),
                 added.isEmpty() ? QString() : QString::fromStdString(dropFolder));
    }

    // A later start's file: while a box holds the window it waits, and
    // arrives as a drop would once the box has closed. A start without a
    // file only brings the window back.
    void handOver() {
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QLineEdit* box = window.Controls().InputFileBox;
        QStringList seen;
        test::ModalAnswerer answerer({{"a box holding the window to take a hand-over",
                                       [&window, box, this] {
                                           if (test::VisibleMessageBox() == nullptr) {
                                               return false;
                                           }
                                           window.TakeHandOver(photo_);
                                           return box->text().isEmpty();
                                       }},
                                      test::AnswerMessageBox(QMessageBox::Ok, &seen)});
        ShowWarning(&window, "holding");
        TARVIK_VERIFY_ANSWERED(answerer);
        QTRY_COMPARE(box->text(), QString::fromStdString(photo_));
        QCOMPARE(window.Controls().OutputFolderBox->currentText(), QString::fromStdString(folder_));

        window.showMinimized();
        QTRY_VERIFY(window.isMinimized());
        window.TakeHandOver("");
        QTRY_VERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());
        QCOMPARE(box->text(), QString::fromStdString(photo_));
    }

    void iconSizes_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("pixels");
        const std::array<int, 5> pixels = {16, 24, 32, 48, 64};
        for (int i = 0; i < 5; ++i) {
            QTest::addRow("UI Size %d", i) << i << pixels[static_cast<std::size_t>(i)];
        }
    }

    void iconSizes() {
        QFETCH(int, size);
        QFETCH(int, pixels);
        Settings.Interface.UiSize = size;
        LoadThemeImages(false, false, true);
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Controls().InputFileBox->setText(QString::fromStdString(photo_));
        QToolBar* toolbar = window.MainToolbar();
        QCOMPARE(toolbar->iconSize(), QSize(pixels, pixels));
        const auto* button =
            qobject_cast<QToolButton*>(toolbar->widgetForAction(window.CommandAction(kCommandNew)));
        QVERIFY(button != nullptr);
        QCOMPARE(button->icon().pixmap(button->iconSize()).size(), QSize(pixels, pixels));
        // Menus and the field buttons keep 16 pixels.
        QCOMPARE(window.FieldButton(0)->iconSize(), QSize(16, 16));
        QVERIFY(window.height() >= kMainWindowHeight);
        QVERIFY(window.Controls().InputFileBox->isVisible());
        const QPoint convert = InWindow(window.ConvertButton(), &window);
        QVERIFY(convert.y() + window.ConvertButton()->height() <=
                window.statusBar()->mapTo(&window, QPoint(0, 0)).y());
        // Every toolbar button shows, none in an overflow menu, and the
        // window cannot be made too narrow for them; at the small sizes the
        // minimum stays 510.
        auto* overflow = toolbar->findChild<QToolButton*>("qt_toolbar_ext_button");
        QVERIFY(overflow == nullptr || !overflow->isVisible());
        for (QAction* action : toolbar->actions()) {
            if (QWidget* shown = toolbar->widgetForAction(action); shown != nullptr) {
                QVERIFY2(shown->isVisible(), qPrintable(action->toolTip()));
                QVERIFY(toolbar->rect().contains(shown->geometry()));
            }
        }
        QCOMPARE(window.minimumWidth() == kMainWindowMinWidth, pixels <= 32);
        window.resize(kMainWindowMinWidth, kMainWindowHeight);
        QTest::qWait(20);
        QVERIFY(overflow == nullptr || !overflow->isVisible());
        test::SaveScreenshot(&window, QString("main_window_icons_%1px").arg(pixels));
        Settings.Interface.UiSize = 2;
        LoadThemeImages(false, false, true);
    }

    void savedAtExit_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("keepHistory");
        QTest::newRow("normal window") << "normal" << true;
        QTest::newRow("maximised window") << "maximised" << true;
        QTest::newRow("minimised window") << "minimised" << true;
        QTest::newRow("history not kept") << "normal" << false;
    }

    void savedAtExit() {
        QFETCH(QString, state);
        QFETCH(bool, keepHistory);
        Settings.Advanced.OutFoldersHistory = keepHistory ? 1 : 0;
        Settings.Window.Width = 600;
        Settings.Window.X = 123;
        Settings.Window.Y = 45;
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // A dropped file adds its folder to the history.
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(photo_))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QCOMPARE(window.Controls().OutputFolderBox->currentText(), QString::fromStdString(folder_));
        if (state == "normal") {
            window.resize(777, 300);
            window.move(40, 30);
        } else if (state == "maximised") {
            window.showMaximized();
        } else {
            window.showMinimized();
        }
        QTest::qWait(20);
        QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(!window.isVisible());

        const std::string text = ConfigText();
        QVERIFY(text.starts_with("\xEF\xBB\xBF\r\n[General]\r\n"));
        QVERIFY(HasLine(text, "[Window]"));
        if (state == "normal") {
            QVERIFY(HasLine(text, "IsMaximized = 0"));
            QVERIFY(HasLine(text, "Width = 777"));
            QVERIFY(HasLine(text, "Height = 260"));
            QVERIFY(HasLine(text, "X = 40"));
            QVERIFY(HasLine(text, "Y = 30"));
        } else {
            QVERIFY(HasLine(text, state == "maximised" ? "IsMaximized = 1" : "IsMaximized = 0"));
            QVERIFY(HasLine(text, "Width = 600"));
            QVERIFY(HasLine(text, "X = 123"));
            QVERIFY(HasLine(text, "Y = 45"));
        }
        QVERIFY(HasLine(text,
                        keepHistory ? "Recent Out Folders = " + folder_ : "Recent Out Folders = "));
    }

  private:
    void Trigger(MainWindow& window, int command, const QString& source) {
        QAction* action = window.CommandAction(command);
        QVERIFY(action != nullptr);
        if (source == "menu") {
            QMenu* menu = MenuHolding(window, action);
            QVERIFY(menu != nullptr);
            menu->popup(window.mapToGlobal(QPoint(0, 0)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        } else if (source == "toolbar") {
            QWidget* button = window.MainToolbar()->widgetForAction(action);
            QVERIFY(button != nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (source == "field") {
            const int row = command == kCommandAddInputFile ? 0 : 1;
            QCOMPARE(qobject_cast<QToolButton*>(window.FieldButton(row))->defaultAction(), action);
            QTest::mouseClick(window.FieldButton(row), Qt::LeftButton);
        } else if (source == "button") {
            QTest::mouseClick(window.ConvertButton(), Qt::LeftButton);
        } else {
            const QKeyCombination key = FindCommand(command)->Shortcut;
            QCOMPARE(action->shortcut(), QKeySequence(key));
            QTest::keyClick(&window, key.key(), key.keyboardModifiers());
        }
    }

    void CheckEffect(MainWindow& window, int command, const QStringList& seen,
                     const std::string& chosenFolder) {
        const MainControls& c = window.Controls();
        switch (command) {
            case kCommandNew:
                QVERIFY(c.InputFileBox->text().isEmpty());
                break;
            case kCommandExit:
                QTRY_VERIFY(!window.isVisible());
                QVERIFY(test::Exists(Settings.ConfigFilePath));
                break;
            case kCommandAddInputFile:
                QCOMPARE(seen.value(0), QString("Select Input Files"));
                QCOMPARE(seen.value(1), QString("All Supported Files (*.jpg *.jpeg *.jpe *.jif)"));
                QCOMPARE(c.InputFileBox->text(), QString::fromStdString(photo_));
                QVERIFY(Job.SourceFile.empty());
                break;
            case kCommandSelectOutputFolder:
                QCOMPARE(seen.value(0), QString("Select Output Folder"));
                QCOMPARE(c.OutputFolderBox->currentText(), QString::fromStdString(chosenFolder));
                QCOMPARE(Job.OutputFolder, chosenFolder);
                break;
            case kCommandConvert:
                QCOMPARE(seen, QStringList{"No input file(s) found. Please, add valid file(s) "
                                           "and try again!"});
                QCOMPARE(c.StatusText->text(), QString("Conversion stopped"));
                break;
            case kCommandManual:
                QCOMPARE(opened_.size(), 1);
                QVERIFY(opened_.front().isLocalFile());
                QVERIFY(opened_.front().path().endsWith("manual/index.html"));
                break;
            case kCommandFeedback:
                QCOMPARE(opened_,
                         QList<QUrl>{QUrl("mailto:support@quorvane.example?subject=Quorvane "
                                          "JPG to BMP 2.8 Feedback")});
                break;
            case kCommandHomepage:
                QCOMPARE(opened_, QList<QUrl>{QUrl("https://www.quorvane.example/tarvik/")});
                break;
            default:
                QFAIL("no check for this command");
        }
    }

    std::string folder_;
    std::string photo_;
    QList<QUrl> opened_;
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::MainWindowTest, "main-window")
#include "main_window_test.moc"
