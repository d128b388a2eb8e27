// The window tests' own bound: a step whose dialog never comes fails with
// one line naming what it waited for and what was open, and the modal
// window that blocked the test is closed so the test goes on.
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTest>

#include "gui_test_support.h"

namespace tarvik {

class GuiTestSupportTest : public QObject {
    Q_OBJECT

  private slots:
    void aStepThatNeverActsEndsTheModalLoopAndSaysWhy() {
        test::ModalAnswerer answerer({{"a dialog that never opens", [] { return false; }}},
                                     std::chrono::milliseconds(300));
        QMessageBox stray(QMessageBox::Warning, "Stray", "Nobody answers this.", QMessageBox::Ok);
        QElapsedTimer clock;
        clock.start();
        stray.exec();  // returns only because the answerer gives up
        QVERIFY(clock.elapsed() < 5000);
        QVERIFY(!answerer.Finish());
        QCOMPARE(answerer.Failure(), QString("waited 0.3 s for a dialog that never opens; "
                                             "open dialogs: 'Stray' (QMessageBox)"));
        QVERIFY(!stray.isVisible());
    }

    void stepsActInOrderAndFinish() {
        QStringList seen;
        test::ModalAnswerer answerer({test::AnswerMessageBox(QMessageBox::Yes, &seen),
                                      test::AnswerMessageBox(QMessageBox::No, &seen)});
        QCOMPARE(QMessageBox::question(nullptr, "First", "One?"), QMessageBox::Yes);
        QCOMPARE(QMessageBox::question(nullptr, "Second", "Two?"), QMessageBox::No);
        QVERIFY(answerer.Finish());
        QVERIFY(answerer.Failure().isEmpty());
        QCOMPARE(seen, (QStringList{"One?", "Two?"}));
        QCOMPARE(test::OpenDialogs(), QString("none"));
    }
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::GuiTestSupportTest, "support")
#include "gui_test_support_test.moc"
