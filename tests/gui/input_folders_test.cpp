// The input file, the output-folder history, the open-file dialog's
// filter and "Open with".
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include "core/job.h"
#include "core/settings.h"
#include "gui/folder_history.h"
#include "gui/input_folders.h"
#include "gui/main_window.h"
#include "gui/window_start.h"
#include "gui_test_support.h"

namespace tarvik {
namespace {

QString History() {
    return QString::fromStdString(Settings.File.RecentOutFolders);
}

void SetHistory(const QString& history) {
    Settings.File.RecentOutFolders = history.toStdString();
}

}  // namespace

class InputFoldersTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        test::PrepareWindowTest();
        folder_ = test::MakeFolder("photos");
    }

    void init() {
        ResetJob();
        Settings.Advanced.OutFoldersNumber = 5;
        Settings.File.RecentOutFolders.clear();
    }

    void rememberOutputFolder_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("after");
        const QString five = "/e/\t/d/\t/c/\t/b/\t/a/";
        QTest::newRow("first folder") << "" << 5 << "/out/" << 1 << "/out/";
        QTest::newRow("sixth folder drops the oldest")
            << five << 5 << "/f/" << 1 << "/f/\t/e/\t/d/\t/c/\t/b/";
        QTest::newRow("known folder moves to the head")
            << five << 5 << "/c/" << 1 << "/c/\t/e/\t/d/\t/b/\t/a/";
        QTest::newRow("other letter case is the same folder")
            << "/Photos/Out/\t/x/" << 5 << "/photos/out/" << 1 << "/photos/out/\t/x/";
        QTest::newRow("without the separator it is another folder")
            << "/out/\t/x/" << 5 << "/out" << 1 << "/out\t/out/\t/x/";
        QTest::newRow("empty folder leaves the history") << five << 5 << "" << 0 << five;
        QTest::newRow("entries beyond the limit are not looked at")
            << "/a/\t/b/\t/c/" << 2 << "/n/" << 1 << "/n/\t/a/";
        QTest::newRow("blank fields are skipped")
            << "/a/\t \t/b/" << 5 << "/n/" << 1 << "/n/\t/a/\t/b/";
    }

    void rememberOutputFolder() {
        QFETCH(QString, before);
        QFETCH(int, limit);
        QFETCH(QString, folder);
        QFETCH(int, result);
        QFETCH(QString, after);
        SetHistory(before);
        Settings.Advanced.OutFoldersNumber = static_cast<Byte>(limit);
        QCOMPARE(RememberOutputFolder(folder.toStdString()), result);
        QCOMPARE(History(), after);
    }

    void recentOutputFolder() {
        SetHistory(" /a/ \t/b/\t\t/d/");
        QCOMPARE(RecentOutputFolder(0), std::string("/a/"));
        QCOMPARE(RecentOutputFolder(1), std::string("/b/"));
        QCOMPARE(RecentOutputFolder(2), std::string());
        QCOMPARE(RecentOutputFolder(3), std::string("/d/"));
        QCOMPARE(RecentOutputFolder(4), std::string());
    }

    void relativeFolder_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sub-folder") << "/in/sub/a.jpg"
                                    << "/in/"
                                    << "sub/";
        QTest::newRow("outside the base") << "/x/a.jpg"
                                          << "/in/"
                                          << "";
        QTest::newRow("the base itself") << "/in/a.jpg"
                                         << "/in/"
                                         << "";
        QTest::newRow("no base") << "/in/a.jpg"
                                 << ""
                                 << "";
        QTest::newRow("no path") << ""
                                 << "/in/"
                                 << "";
        QTest::newRow("letter case counts") << "/In/sub/a.jpg"
                                            << "/in/"
                                            << "";
        QTest::newRow("every occurrence goes") << "/in/a/in/b.jpg"
                                               << "in/"
                                               << "/a/";
    }

    void relativeFolder() {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(RelativeFolder(path.toStdString(), base.toStdString())),
                 expected);
    }

    void dialogFilter() {
        QCOMPARE(QString::fromStdString(InputFileFilter()),
                 QString("All Supported Files|*.jpg;*.jpeg;*.jpe;*.jif|"
                         "JPEG File|*.jif;*.jpe;*.jpeg;*.jpg|All Files (*.*)|*.*"));
        QCOMPARE(DialogFilters(InputFileFilter()),
                 QStringList({"All Supported Files (*.jpg *.jpeg *.jpe *.jif)",
                              "JPEG File (*.jif *.jpe *.jpeg *.jpg)", "All Files (*)"}));
    }

    void acceptedFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("jpeg") << "photo.jpeg" << true << true;
        QTest::newRow("JPE in capitals") << "photo.JPE" << true << true;
        QTest::newRow("jif") << "photo.jif" << true << true;
        QTest::newRow("png") << "photo.png" << true << false;
        QTest::newRow("no extension") << "photo" << true << false;
        QTest::newRow("empty file") << "empty.jpg" << false << false;
        QTest::newRow("missing file passes") << "missing.jpg" << false << true;
        QTest::newRow("dot in the folder only") << "dir.jpg/photo" << false << false;
    }

    void acceptedFiles() {
        QFETCH(QString, name);
        QFETCH(bool, write);
        QFETCH(bool, accepted);
        const std::string path = folder_ + name.toStdString();
        if (write) {
            QVERIFY(test::WritePhoto(path));
        } else if (name.startsWith("empty")) {
            QVERIFY(test::WriteText(path, ""));
        }
        MainWindow window;
        const MainControls& c = window.Controls();
        QCOMPARE(AddInputFile(c, path), accepted ? 1 : 0);
        QCOMPARE(c.InputFileBox->text(), accepted ? QString::fromStdString(path) : QString());
        QCOMPARE(InputList.size(), accepted ? std::size_t{1} : std::size_t{0});
    }

    // The first file picks the output folder; a second file replaces the
    // first and keeps the folder shown.
    void addInputFile() {
        MainWindow window;
        window.Finish();
        const MainControls& c = window.Controls();
        SetHistory("/old/");
        const std::string first = folder_ + "first.jpg";
        const std::string second = test::MakeFolder("elsewhere") + "second.jpg";
        QVERIFY(test::WritePhoto(first));
        QVERIFY(test::WritePhoto(second));

        QCOMPARE(AddInputFile(c, first), 1);
        QCOMPARE(History(), QString::fromStdString(folder_) + "\t/old/");
        QCOMPARE(c.OutputFolderBox->currentText(), QString::fromStdString(folder_));
        QCOMPARE(Job.OutputFolder, folder_);

        QCOMPARE(AddInputFile(c, second), 1);
        QCOMPARE(InputList.size(), std::size_t{1});
        QCOMPARE(InputList.begin()->first, second);
        QCOMPARE(InputList.begin()->second.Flag, 1);
        QCOMPARE(c.OutputFolderBox->currentText(), QString::fromStdString(folder_));
        QCOMPARE(History(), QString::fromStdString(folder_) + "\t/old/");
    }

    void refreshOutputFolderBox() {
        MainWindow window;
        const MainControls& c = window.Controls();
        SetHistory("/a/\t/b/\t/c/");
        Job.OutputFolder = "/b/";
        RefreshOutputFolderBox(c);
        QCOMPARE(c.OutputFolderBox->count(), 3);
        QCOMPARE(c.OutputFolderBox->currentText(), QString("/b/"));
        Job.OutputFolder = "/elsewhere/";
        RefreshOutputFolderBox(c);
        QCOMPARE(c.OutputFolderBox->currentText(), QString("/a/"));
        SetHistory("");
        RefreshOutputFolderBox(c);  // an empty history changes nothing
        QCOMPARE(c.OutputFolderBox->count(), 3);
    }

    void newInput() {
        MainWindow window;
        window.Finish();
        const MainControls& c = window.Controls();
        const std::string photo = folder_ + "new.jpg";
        QVERIFY(test::WritePhoto(photo));
        QCOMPARE(AddInputFile(c, photo), 1);
        NewInput(c);
        QVERIFY(c.InputFileBox->text().isEmpty());
        QVERIFY(c.OutputFolderBox->currentText().isEmpty());
        QVERIFY(InputList.empty());
        QVERIFY(Job.OutputFolder.empty());
        QCOMPARE(c.OutputFolderBox->count(), 1);  // the history is still offered
    }

    void openWithFile_data() {
        QTest::addColumn<QStringList>("parameters");
        QTest::addColumn<bool>("taken");
        QTest::newRow("one photo") << QStringList{"open.jpg"} << true;
        QTest::newRow("two words") << QStringList{"open.jpg", "open.jpg"} << false;
        QTest::newRow("an option") << QStringList{"-o"} << false;
        QTest::newRow("a png") << QStringList{"open.png"} << false;
        QTest::newRow("a missing photo") << QStringList{"gone.jpg"} << false;
        QTest::newRow("a folder") << QStringList{"folder.jpg"} << false;
    }

    void openWithFile() {
        QFETCH(QStringList, parameters);
        QFETCH(bool, taken);
        QVERIFY(test::WritePhoto(folder_ + "open.jpg"));
        QVERIFY(test::WritePhoto(folder_ + "open.png"));
        test::MakeFolder("photos/folder.jpg");
        QVERIFY(QDir::setCurrent(QString::fromStdString(folder_)));
        std::vector<std::string> words;
        for (const QString& p : parameters) {
            words.push_back(p.toStdString());
        }
        QCOMPARE(QString::fromStdString(OpenWithFile(words)),
                 taken ? QString::fromStdString(folder_ + "open.jpg") : QString());
    }

  private:
    std::string folder_;
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::InputFoldersTest, "input-folders")
#include "input_folders_test.moc"
