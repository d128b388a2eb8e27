// The session bus asked before Qt starts: only a local bus that takes the
// connection and stays silent counts as stalling, and the question never
// outlasts its bound.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTest>

#include <chrono>
#include <cstring>
#include <thread>

#include "gui/session_bus.h"
#include "gui_test_support.h"
#include "net/socket.h"

namespace tarvik {
namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kBound = 300ms;

// A listening local socket at path (abstract when the name starts with
// '@'). It takes connections into its queue and never answers, unless
// answer is set, when one connection is served with a line.
class FakeBus {
  public:
    FakeBus(const std::string& name, bool answer) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const bool abstract = name.starts_with('@');
        std::memcpy(address.sun_path, name.data(), name.size());
        if (abstract) {
            address.sun_path[0] = '\0';
        }
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
        socket_ = Socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        ok_ = bind(socket_.Descriptor(), reinterpret_cast<sockaddr*>(&address), length) == 0 &&
              listen(socket_.Descriptor(), 4) == 0;
        if (ok_ && answer) {
            server_ = std::thread([this] {
                const Socket client(accept(socket_.Descriptor(), nullptr, nullptr));
                char buffer[128];
                if (client.Ok() && recv(client.Descriptor(), buffer, sizeof(buffer), 0) > 0) {
                    const char reply[] = "REJECTED EXTERNAL\r\n";
                    static_cast<void>(send(client.Descriptor(), reply, sizeof(reply) - 1, 0));
                }
            });
        }
    }
    ~FakeBus() {
        if (server_.joinable()) {
            server_.join();
        }
    }
    FakeBus(const FakeBus&) = delete;
    FakeBus& operator=(const FakeBus&) = delete;
    bool Ok() const { return ok_; }

  private:
    Socket socket_;
    bool ok_ = false;
    std::thread server_;
};

}  // namespace

class SessionBusTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { saved_ = qgetenv("DBUS_SESSION_BUS_ADDRESS"); }
    void cleanup() { qputenv("DBUS_SESSION_BUS_ADDRESS", saved_); }

    void stalls_data() {
        QTest::addColumn<QString>("address");  // %S: the fake bus's path
        QTest::addColumn<QString>("bus");      // "silent", "answers" or "" (none)
        QTest::addColumn<bool>("stalls");
        QTest::newRow("not set") << QString() << "" << false;
        QTest::newRow("switched off") << "disabled:"
                                      << "" << false;
        QTest::newRow("over the network") << "tcp:host=localhost,port=1"
                                          << "" << false;
        QTest::newRow("nothing at the path") << "unix:path=%S"
                                             << "" << false;
        QTest::newRow("a silent bus") << "unix:path=%S"
                                      << "silent" << true;
        QTest::newRow("a silent bus with a guid") << "unix:path=%S,guid=0123"
                                                  << "silent" << true;
        QTest::newRow("a bus that answers") << "unix:path=%S"
                                            << "answers" << false;
        QTest::newRow("a silent abstract bus") << "unix:abstract=%S"
                                               << "silent" << true;
        QTest::newRow("the first entry that connects") << "unix:path=/proc/no/bus;unix:path=%S"
                                                       << "silent" << true;
        QTest::newRow("an escaped path") << "unix:path=%E"
                                         << "silent" << true;
    }
    void stalls() {
        QFETCH(QString, address);
        QFETCH(QString, bus);
        QFETCH(bool, stalls);
        const std::string folder = test::MakeFolder("bus");
        const bool abstract = address.contains("abstract");
        const std::string path =
            abstract ? "tarvik-test-bus-" + std::to_string(getpid()) : folder + "session bus";
        std::unique_ptr<FakeBus> fake;
        if (!bus.isEmpty()) {
            fake = std::make_unique<FakeBus>(abstract ? "@" + path : path, bus == "answers");
            QVERIFY(fake->Ok());
        }
        if (address.isNull()) {
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        } else {
            QString escaped = QString::fromStdString(path);
            escaped.replace(' ', "%20");
            address.replace("%S", QString::fromStdString(path)).replace("%E", escaped);
            qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        }
        const auto start = std::chrono::steady_clock::now();
        QCOMPARE(SessionBusStalls(kBound), stalls);
        QVERIFY(std::chrono::steady_clock::now() - start < kBound + 2s);
    }

    void leave() {
        LeaveSessionBus();
        QCOMPARE(qgetenv("DBUS_SESSION_BUS_ADDRESS"), QByteArray("disabled:"));
        QCOMPARE(SessionBusStalls(kBound), false);
    }

  private:
    QByteArray saved_;
};

}  // namespace tarvik

TARVIK_GUI_TEST_MAIN(tarvik::SessionBusTest, "session-bus")
#include "session_bus_test.moc"
