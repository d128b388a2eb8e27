// The one-shot modes: the uninstall window (-U) and the screenshot mode
// (-T), the latter through the real program.
#include <QCheckBox>
#include <QDesktopServices>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "gui/special_modes.h"
#include "gui_test_support.h"

namespace tarvik {

class SpecialModesTest : public QObject {
    Q_OBJECT

  public slots:
    void openUrl(const QUrl& url) { opened_ << url; }

  private slots:
    void initTestCase() {
        test::PrepareWindowTest("special-modes");
        QDesktopServices::setUrlHandler("http", this, "openUrl");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("http"); }

    void uninstallWindow_data() {
        QTest::addColumn<bool>("visit");
        QTest::newRow("checked visits the uninstall page") << true;
        QTest::newRow("unchecked opens nothing") << false;
    }

    void uninstallWindow() {
        QFETCH(bool, visit);
        opened_.clear();
        UninstallWindow window;
        window.show();
        QVERIFY(window.VisitCheck()->isChecked());
        QCOMPARE(window.windowTitle(), QString("Uninstall"));
        if (!visit) {
            QTest::mouseClick(window.VisitCheck(), Qt::LeftButton);
        }
        test::SaveScreenshot(&window, "uninstall_window");
        QTest::mouseClick(window.findChild<QPushButton*>(), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(opened_,
                 visit ? QList<QUrl>{QUrl("http://www.quorvane.example/tarvik/uninstall.html")}
                       : QList<QUrl>{});
    }

    // The real program writes both pictures, ends with 0, and saves no
    // settings; a folder that does not exist gets nothing.
    void screenshotMode_data() {
        QTest::addColumn<bool>("exists");
        QTest::newRow("existing folder") << true;
        QTest::newRow("missing folder") << false;
    }

    void screenshotMode() {
        QFETCH(bool, exists);
        const std::string folder = test::MakeFolder("shots");
        const std::string target = exists ? folder : folder + "missing/";
        QProcess program;
        program.start(TARVIK_BINARY, {"-T", QString::fromStdString(target)});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QImage full(QString::fromStdString(folder + "tarvik1.jpg"));
        const QImage thumbnail(QString::fromStdString(folder + "tarvik1x.jpg"));
        QCOMPARE(full.isNull(), !exists);
        QCOMPARE(thumbnail.isNull(), !exists);
        if (exists) {
            QVERIFY(full.width() >= 510);
            QCOMPARE(thumbnail.width(), 180);
            QCOMPARE(thumbnail.height(), qRound(180.0 * full.height() / full.width()));
            full.save(QString::fromStdString(folder + "../../screenshot_mode.png"));
        }
        QVERIFY(!test::Exists(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() +
                              "/Quorvane/tarvik/config.ini"));
    }

  private:
    QList<QUrl> opened_;
};

}  // namespace tarvik

QTEST_MAIN(tarvik::SpecialModesTest)
#include "special_modes_test.moc"
