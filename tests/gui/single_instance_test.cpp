// One window per user: where its lock and socket live, the lock itself,
// and the hand-over of a later start's file through the socket to the
// window's server, with the answers a second start gets.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/catalog.h"
#include "gui/hand_over_server.h"
#include "gui/single_instance.h"
#include "gui_test_support.h"

namespace tarvik {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kShortWait = 500ms;

SteadyTime After(std::chrono::milliseconds wait) {
    return std::chrono::steady_clock::now() + wait;
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777U : 0U;
}

// A second start on a thread of its own, while the test turns the event
// loop for the window's server.
class SecondStart {
  public:
    SecondStart(std::string socket, std::string message, std::chrono::milliseconds wait)
        : wait_(wait),
          thread_([this, socket = std::move(socket), message = std::move(message), wait] {
              result_ = HandOverToWindow(socket, message, After(wait));
              done_ = true;
          }) {}
    ~SecondStart() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    SecondStart(const SecondStart&) = delete;
    SecondStart& operator=(const SecondStart&) = delete;

    // Turns the event loop until the start has its answer (it has one
    // within its own wait).
    HandOver Result() {
        static_cast<void>(
            QTest::qWaitFor([this] { return done_.load(); }, int((wait_ + kShortWait).count())));
        thread_.join();
        return result_;
    }

  private:
    std::chrono::milliseconds wait_;
    std::atomic<bool> done_ = false;
    HandOver result_ = HandOver::kNoListener;
    std::thread thread_;
};

// A connection to the socket that the test writes to by hand. The folder
// is reached through its descriptor: the build's path may be longer than a
// socket address holds.
int RawConnection(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const int folder = open(path.substr(0, slash).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof(address.sun_path), "/proc/self/fd/%d%s", folder,
                  path.substr(slash).c_str());
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    close(folder);
    if (!connected) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        BuildCatalog();
        runtime_ = qgetenv("XDG_RUNTIME_DIR");
        temp_ = qgetenv("TMPDIR");
    }

    void init() {
        qputenv("XDG_RUNTIME_DIR", runtime_);
        qputenv("TMPDIR", temp_);
    }

    void cleanupTestCase() { init(); }

    // Which folder holds the lock: a writable XDG_RUNTIME_DIR, else the
    // private folder in TMPDIR, made 0700 and then named in
    // XDG_RUNTIME_DIR so that Qt makes no folder of its own.
    void folderChoice_data() {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<bool>("usesRuntime");
        QTest::newRow("writable runtime folder") << "runtime" << true;
        QTest::newRow("no runtime folder set") << "" << false;
        QTest::newRow("runtime folder missing") << "missing" << false;
        QTest::newRow("runtime names a file") << "file" << false;
        QTest::newRow("relative runtime folder") << "relative" << false;
    }
    void folderChoice() {
        QFETCH(QString, runtime);
        QFETCH(bool, usesRuntime);
        const std::string root = test::MakeFolder("choice");
        const std::string temp = test::MakeFolder("choice-temp");
        qputenv("TMPDIR", QByteArray::fromStdString(temp));
        std::string named;
        if (runtime == "runtime") {
            named = test::MakeFolder("choice-runtime");
        } else if (runtime == "missing") {
            named = root + "missing";
        } else if (runtime == "file") {
            named = root + "file";
            QVERIFY(test::WriteText(named, "x"));
        } else if (runtime == "relative") {
            named = "relative/folder";
        }
        if (named.empty()) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(named));
        }
        const InstanceFolder found = FindInstanceFolder();
        QVERIFY2(found.Error.empty(), found.Error.c_str());
        if (usesRuntime) {
            QCOMPARE(found.Folder, named);
            return;
        }
        const std::string expected = temp + "tarvik-" + std::to_string(getuid());
        QCOMPARE(found.Folder, expected);
        QCOMPARE(ModeOf(expected), 0700U);
        QCOMPARE(qgetenv("XDG_RUNTIME_DIR").toStdString(), expected);
        QVERIFY(!test::Exists(root + "missing"));
    }

    // A private folder that others may enter, a link, or (for root) one
    // of another user: refused with a line naming it.
    void privateFolderRefused_data() {
        QTest::addColumn<QString>("flaw");
        QTest::newRow("open to others") << "mode";
        QTest::newRow("a link to a folder") << "link";
        QTest::newRow("a file") << "file";
        if (getuid() == 0) {
            QTest::newRow("another user's") << "owner";
        }
    }
    void privateFolderRefused() {
        QFETCH(QString, flaw);
        const std::string temp = test::MakeFolder("refused-temp");
        qputenv("TMPDIR", QByteArray::fromStdString(temp));
        qunsetenv("XDG_RUNTIME_DIR");
        const std::string folder = PrivateTempFolder();
        QCOMPARE(folder, temp + "tarvik-" + std::to_string(getuid()));
        if (flaw == "link") {
            const std::string target = test::MakeFolder("refused-target");
            chmod(target.c_str(), 0700);
            QCOMPARE(symlink(target.c_str(), folder.c_str()), 0);
        } else if (flaw == "file") {
            QVERIFY(test::WriteText(folder, ""));
        } else {
            QCOMPARE(mkdir(folder.c_str(), 0700), 0);
            if (flaw == "mode") {
                QCOMPARE(chmod(folder.c_str(), 0755), 0);
            } else {
                QCOMPARE(chown(folder.c_str(), 65534, 65534), 0);
            }
        }
        const InstanceFolder found = FindInstanceFolder();
        QVERIFY(found.Folder.empty());
        QVERIFY2(found.Error.starts_with("Error: The folder " + folder), found.Error.c_str());
        QVERIFY(found.Error.find("0700") != std::string::npos);
        QVERIFY(qgetenv("XDG_RUNTIME_DIR").isEmpty());
    }

    // The lock is one process's: a second lock of the same file (another
    // open file, as another process has) is refused, and free again once
    // the first is gone.
    void lock() {
        const std::string path = InstanceLockPath(test::MakeFolder("lock"));
        QVERIFY(path.ends_with("/Quorvane JPG to BMP 2.8.lock"));
        {
            InstanceLock first;
            QCOMPARE(first.Acquire(path), LockState::kTaken);
            InstanceLock second;
            QCOMPARE(second.Acquire(path), LockState::kHeldElsewhere);
        }
        InstanceLock later;
        QCOMPARE(later.Acquire(path), LockState::kTaken);
        InstanceLock nowhere;
        QCOMPARE(nowhere.Acquire("/proc/no/such/folder.lock"), LockState::kFailed);
    }

    // The window's server passes each start's file on and answers; a
    // start that names no file passes "" (the window only comes forward).
    // A socket path too long for an address works as well, and a socket a
    // killed window left behind is replaced.
    void handOver_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("folderLength");
        QTest::addColumn<bool>("staleSocket");
        QTest::newRow("a file") << "/photos/b.jpg" << 0 << false;
        QTest::newRow("no file") << "" << 0 << false;
        QTest::newRow("a name with a line break") << "/photos/a\nb.jpg" << 0 << false;
        QTest::newRow("a long socket path") << "/photos/b.jpg" << 150 << false;
        QTest::newRow("a stale socket") << "/photos/b.jpg" << 0 << true;
    }
    void handOver() {
        QFETCH(QString, file);
        QFETCH(int, folderLength);
        QFETCH(bool, staleSocket);
        std::string folder = test::MakeFolder("hand-over");
        while (static_cast<int>(folder.size()) < folderLength) {
            folder += "a-long-folder-name/";
        }
        QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
        const std::string socket = InstanceSocketPath(folder);
        if (staleSocket) {
            {
                HandOverListener killed;  // its socket file outlives it
                QVERIFY(killed.Listen(socket));
                QVERIFY(link(socket.c_str(), (socket + ".kept").c_str()) == 0);
            }
            QVERIFY(rename((socket + ".kept").c_str(), socket.c_str()) == 0);
            QCOMPARE(SecondStart(socket, "x", kShortWait).Result(), HandOver::kNoListener);
        }
        HandOverListener listener;
        QVERIFY(listener.Listen(socket));
        QStringList received;
        const HandOverServer server(listener.Descriptor(), [&received](const std::string& got) {
            received << QString::fromStdString(got);
        });
        SecondStart start(socket, file.toStdString(), test::kModalWaitBound);
        QCOMPARE(start.Result(), HandOver::kDelivered);
        QCOMPARE(received, QStringList{file});
    }

    // Nothing listening, a window that takes the connection but never
    // answers, and a message longer than any path: no delivery, and the
    // start learns it within its bound.
    void noDelivery() {
        const std::string socket = InstanceSocketPath(test::MakeFolder("no-delivery"));
        QCOMPARE(SecondStart(socket, "/a.jpg", kShortWait).Result(), HandOver::kNoListener);
        HandOverListener listener;
        QVERIFY(listener.Listen(socket));
        QCOMPARE(SecondStart(socket, "/a.jpg", kShortWait).Result(), HandOver::kNoAnswer);

        QStringList received;
        const HandOverServer server(listener.Descriptor(), [&received](const std::string& got) {
            received << QString::fromStdString(got);
        });
        const std::string huge(kHandOverLimit + 10, 'a');
        QCOMPARE(SecondStart(socket, huge, kShortWait).Result(), HandOver::kNoAnswer);
        // A connection that sends part of a message and stalls holds up
        // nothing: the next start is served.
        const int stalled = RawConnection(socket);
        QVERIFY(stalled >= 0);
        QCOMPARE(send(stalled, "/half", 5, MSG_NOSIGNAL), ssize_t{5});
        QCOMPARE(SecondStart(socket, "/b.jpg", test::kModalWaitBound).Result(),
                 HandOver::kDelivered);
        close(stalled);
        QCOMPARE(received, QStringList{"/b.jpg"});
    }

    // The window removes its socket when it ends; the lock file stays.
    void socketRemovedAtEnd() {
        const std::string folder = test::MakeFolder("end");
        {
            HandOverListener listener;
            QVERIFY(listener.Listen(InstanceSocketPath(folder)));
            QCOMPARE(ModeOf(InstanceSocketPath(folder)) & 0777U, 0600U);
        }
        QVERIFY(!test::Exists(InstanceSocketPath(folder)));
    }

  private:
    QByteArray runtime_;
    QByteArray temp_;
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::SingleInstanceTest, "single-instance")
#include "single_instance_test.moc"
