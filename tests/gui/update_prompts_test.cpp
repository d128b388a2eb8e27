// The update check in the window, end to end against a real HTTP server on
// the loopback interface: the box each reply leads to, the home page on Yes,
// the window painting while the request waits, and the start-up schedule
// with the clock passed in.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QTest>
#include <QUrl>

#include <chrono>

#include "core/clock.h"
#include "core/config_file.h"
#include "core/product.h"
#include "core/settings.h"
#include "gui/commands.h"
#include "gui/main_window.h"
#include "gui/update_prompts.h"
#include "gui/window_start.h"
#include "gui_test_support.h"
#include "net/loopback_server.h"

namespace tarvik {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;

constexpr std::int64_t kDay = 86400;
// 2025-12-06 05:46:40 on the local wall clock.
constexpr std::int64_t kLastAsked = 1765000000;
// The check in the schedule tests takes this long on the test's clock.
constexpr std::int64_t kCheckSeconds = 5;

const char* const kNewUpdateText =
    "A new version of Quorvane JPG to BMP is available! Are you ready to download it right now?";
const char* const kNoUpdateText =
    "There is no update of Quorvane JPG to BMP yet. You're using the most recent version.";
const char* const kFailedText = "Internet connection problems!";
const char* const kQuestionText = "Do you want to check for updates?";

// What a box showed: "title|text|icon".
QString Describe(const QMessageBox& box) {
    return QStringLiteral("%1|%2|%3").arg(box.windowTitle(), box.text()).arg(box.icon());
}

// A step: records the visible box and presses button, or its only button
// when it has no such button (so a wrong box never leaves the test hanging).
test::ModalAnswerer::Step Answer(QMessageBox::StandardButton button, QStringList* seen) {
    return {QString("a message box to answer"), [button, seen] {
                QMessageBox* box = test::VisibleMessageBox();
                if (box == nullptr) {
                    return false;
                }
                *seen << Describe(*box);
                test::SaveScreenshot(
                    box, "update_box_" + box->windowTitle().toLower().replace(' ', '_'));
                QAbstractButton* press = box->button(button);
                if (press == nullptr) {
                    press = box->buttons().front();
                }
                QTimer::singleShot(0, press, [press] { press->click(); });
                return true;
            }};
}

QString Box(const char* title, const char* text, QMessageBox::Icon icon) {
    return QStringLiteral("%1|%2|%3").arg(title, text).arg(icon);
}

std::string Http(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

// The update address points at server for as long as this lives.
class UpdateUrlAt {
  public:
    explicit UpdateUrlAt(const LoopbackServer& server) {
        qputenv("TARVIK_UPDATE_URL", QByteArray::fromStdString(server.Url("/files/tarvik.dat")));
    }
    ~UpdateUrlAt() { qunsetenv("TARVIK_UPDATE_URL"); }
    UpdateUrlAt(const UpdateUrlAt&) = delete;
    UpdateUrlAt& operator=(const UpdateUrlAt&) = delete;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int Count() const { return count_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count_;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    int count_ = 0;
};

}  // namespace

class UpdatePromptsTest : public QObject {
    Q_OBJECT

  public slots:
    void openUrl(const QUrl& url) { opened_ << url; }

  private slots:
    void initTestCase() {
        test::PrepareWindowTest();
        for (const char* scheme : {"http", "https"}) {
            QDesktopServices::setUrlHandler(scheme, this, "openUrl");
        }
    }

    void cleanupTestCase() {
        for (const char* scheme : {"http", "https"}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }

    void init() {
        ResetSettings(false);
        Settings.Window.X = 100;
        Settings.Window.Y = 100;
        opened_.clear();
    }

    void checkCommand_data() {
        QTest::addColumn<QByteArray>("reply");  // null: the server closes without a byte
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("opensHomePage");
        const QString newer = Box("New Update", kNewUpdateText, QMessageBox::Question);
        const QString upToDate = Box("No Update", kNoUpdateText, QMessageBox::Information);
        const QString failed = Box("Error", kFailedText, QMessageBox::Critical);
        QTest::newRow("281, Yes opens the home page")
            << QByteArray("281") << int(QMessageBox::Yes) << newer << true;
        QTest::newRow("281, No opens nothing")
            << QByteArray("281") << int(QMessageBox::No) << newer << false;
        QTest::newRow("a blank and 2812 read as 281")
            << QByteArray(" 2812\r\n") << int(QMessageBox::No) << newer << false;
        QTest::newRow("280 is this version")
            << QByteArray("280") << int(QMessageBox::Ok) << upToDate << false;
        QTest::newRow("100 is older")
            << QByteArray("100") << int(QMessageBox::Ok) << upToDate << false;
        QTest::newRow("letters fail")
            << QByteArray("abc") << int(QMessageBox::Ok) << failed << false;
        QTest::newRow("an empty body fails")
            << QByteArray("") << int(QMessageBox::Ok) << failed << false;
        QTest::newRow("no reply at all fails")
            << QByteArray() << int(QMessageBox::Ok) << failed << false;
    }

    // The Help menu's command, against the server, answered like a user.
    void checkCommand() {
        QFETCH(QByteArray, reply);
        QFETCH(int, answer);
        QFETCH(QString, box);
        QFETCH(bool, opensHomePage);
        LoopbackServer server(
            reply.isNull()
                ? LoopbackServer::Handler([](LoopbackServer::Connection& c) { c.ReadRequest(); })
                : LoopbackServer::Reply(Http(reply.toStdString())));
        const UpdateUrlAt address(server);
        MainWindow window;
        window.Finish();
        QVERIFY(window.CommandAction(kCommandCheckUpdates)->isEnabled());

        QStringList seen;
        test::ModalAnswerer answerer({Answer(QMessageBox::StandardButton(answer), &seen)});
        window.CommandAction(kCommandCheckUpdates)->trigger();
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(seen, QStringList{box});
        const QList<QUrl> home = {QUrl(QString::fromStdString(std::string(HomePageUrl)))};
        QCOMPARE(opened_, opensHomePage ? home : QList<QUrl>{});

        const std::vector<std::string> requests = server.Requests();
        QCOMPARE(requests.size(), std::size_t{1});
        QVERIFY(requests.front().starts_with("GET /files/tarvik.dat HTTP/1.0\r\n"));
        QVERIFY(requests.front().find("\r\nUser-Agent: Quorvane JPG to BMP 2.8\r\n") !=
                std::string::npos);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(window.isVisible());
    }

    // Yes to a newer version on a desktop with nothing to open the home
    // page: a second box says so and names the package to install.
    void newerVersionWithoutOpener() {
        LoopbackServer server(LoopbackServer::Reply(Http("281")));
        const UpdateUrlAt address(server);
        QDesktopServices::unsetUrlHandler("https");
        MainWindow window;
        window.Finish();
        QStringList seen;
        test::ModalAnswerer answerer(
            {Answer(QMessageBox::Yes, &seen), test::AnswerMessageBox(QMessageBox::Ok, &seen)});
        window.CommandAction(kCommandCheckUpdates)->trigger();
        QDesktopServices::setUrlHandler("https", this, "openUrl");
        TARVIK_VERIFY_ANSWERED(answerer);
        QCOMPARE(seen.size(), 2);
        QVERIFY2(seen[1].contains(QString::fromStdString(std::string(HomePageUrl))) &&
                     seen[1].contains("xdg-utils"),
                 qPrintable(seen[1]));
        QVERIFY(opened_.isEmpty());
    }

    // While the server takes its time the window thread keeps turning its
    // event loop: the window repaints, under a busy cursor.
    void windowPaintsWhileTheCheckWaits() {
        LoopbackServer server([](LoopbackServer::Connection& c) {
            c.ReadRequest();
            if (c.Pause(600ms)) {
                c.Send(Http("280"));
            }
        });
        const UpdateUrlAt address(server);
        MainWindow window;
        window.Finish();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PaintCounter paints;
        window.installEventFilter(&paints);

        int ticks = 0;
        bool busyCursor = false;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, &window, [&] {
            ++ticks;
            const QCursor* cursor = QApplication::overrideCursor();
            busyCursor = busyCursor || (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
            if (test::VisibleMessageBox() == nullptr) {
                window.update();
            }
        });
        ticker.start(20);
        QStringList seen;
        test::ModalAnswerer answerer({Answer(QMessageBox::Ok, &seen)});
        const auto start = std::chrono::steady_clock::now();
        CheckForUpdates(&window);
        QVERIFY(std::chrono::steady_clock::now() - start >= 600ms);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        QVERIFY(paints.Count() >= 5);
        QVERIFY(busyCursor);
        QCOMPARE(seen, QStringList{Box("No Update", kNoUpdateText, QMessageBox::Information)});
        window.removeEventFilter(&paints);
    }

    void schedule_data() {
        QTest::addColumn<int>("range");
        QTest::addColumn<qint64>("age");  // seconds since [General] Update Date
        QTest::addColumn<bool>("screenshot");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("answer");
        const int no = QMessageBox::No;
        QTest::newRow("a week exactly") << 1 << qint64(7 * kDay) << false << false << no;
        QTest::newRow("a week and a second") << 1 << qint64(7 * kDay + 1) << false << true << no;
        QTest::newRow("a day and a second, Yes checks")
            << 0 << qint64(kDay + 1) << false << true << int(QMessageBox::Yes);
        QTest::newRow("range 9 is a month: 30 days")
            << 9 << qint64(30 * kDay) << false << false << no;
        QTest::newRow("range 9 is a month: and a second")
            << 9 << qint64(30 * kDay + 1) << false << true << no;
        QTest::newRow("never") << 5 << qint64(3650 * kDay) << false << false << no;
        QTest::newRow("screenshot mode never asks")
            << 1 << qint64(365 * kDay) << true << false << no;
    }

    // Asked or not by the clock; the answer, Yes or No, moves the date to
    // the time after the check, and an unasked start leaves it alone.
    void schedule() {
        QFETCH(int, range);
        QFETCH(qint64, age);
        QFETCH(bool, screenshot);
        QFETCH(bool, asked);
        QFETCH(int, answer);
        LoopbackServer server(LoopbackServer::Reply(Http("280")));
        const UpdateUrlAt address(server);
        Settings.General.UpdateRange = range;
        Settings.General.UpdateDate = static_cast<std::int32_t>(kLastAsked);
        MainWindow window;
        window.Finish();

        std::int64_t calls = 0;
        const LocalClock clock = [&calls, age] {
            return kLastAsked + age + kCheckSeconds * calls++;
        };
        QStringList seen;
        test::ModalAnswerer answerer(
            {Answer(QMessageBox::StandardButton(answer), &seen), Answer(QMessageBox::Ok, &seen)});
        ScheduledUpdateCheck(&window, screenshot ? WindowStart::kScreenshot : WindowStart::kNormal,
                             clock);

        QStringList expected;
        if (asked) {
            expected << Box("Check for Updates", kQuestionText, QMessageBox::Question);
            if (answer == QMessageBox::Yes) {
                expected << Box("No Update", kNoUpdateText, QMessageBox::Information);
            }
        }
        QCOMPARE(seen, expected);
        QCOMPARE(server.Requests().size(), std::size_t{answer == QMessageBox::Yes ? 1U : 0U});
        QCOMPARE(Settings.General.UpdateDate,
                 static_cast<std::int32_t>(asked ? kLastAsked + age + kCheckSeconds : kLastAsked));
    }

    void windowStart_data() {
        QTest::addColumn<qint64>("age");
        QTest::addColumn<bool>("asked");
        QTest::newRow("asked a week less a minute ago") << qint64(7 * kDay - 60) << false;
        QTest::newRow("asked a week and a minute ago") << qint64(7 * kDay + 60) << true;
    }

    // The window's start-up reads the date from config.ini and asks once the
    // window is up; No still moves the date to now.
    void windowStart() {
        QFETCH(qint64, age);
        QFETCH(bool, asked);
        Settings.General.UpdateRange = 1;
        const auto saved = static_cast<std::int32_t>(LocalNow() - age);
        Settings.General.UpdateDate = saved;
        QVERIFY(SaveSettings());
        ResetSettings(false);

        QStringList seen;
        test::ModalAnswerer answerer({Answer(QMessageBox::No, &seen)});
        const std::int64_t before = LocalNow();
        const std::unique_ptr<MainWindow> window = OpenMainWindow({});
        QVERIFY(window->isVisible());
        if (asked) {
            TARVIK_VERIFY_ANSWERED(answerer);
            QCOMPARE(seen,
                     QStringList{Box("Check for Updates", kQuestionText, QMessageBox::Question)});
            QVERIFY(Settings.General.UpdateDate >= before);
        } else {
            QTest::qWait(300);
            QVERIFY(seen.isEmpty());
            QCOMPARE(Settings.General.UpdateDate, saved);
        }
    }

  private:
    QList<QUrl> opened_;
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::UpdatePromptsTest, "update-prompts")
#include "update_prompts_test.moc"
