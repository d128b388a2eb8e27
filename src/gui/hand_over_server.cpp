#include "gui/hand_over_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>

#include "gui/single_instance.h"
#include "net/socket.h"

namespace tarvik {
namespace {

// A second start sends a few bytes at once; one that stalls is dropped.
constexpr int kMessageMilliseconds = 5000;
constexpr std::size_t kReadChunk = 1024;

bool SameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

// One connection: reads until the closing NUL, then hands the file over,
// answers and ends itself.
class Connection : public QObject {
  public:
    Connection(Socket socket, HandOverServer::Receive receive, QObject* parent)
        : QObject(parent),
          socket_(std::move(socket)),
          receive_(std::move(receive)),
          notifier_(socket_.Descriptor(), QSocketNotifier::Read, this) {
        connect(&notifier_, &QSocketNotifier::activated, this, [this] { Read(); });
        QTimer::singleShot(kMessageMilliseconds, this, [this] { End(); });
    }

  private:
    void Read() {
        char chunk[kReadChunk];
        while (true) {
            const ssize_t got = recv(socket_.Descriptor(), chunk, sizeof(chunk), 0);
            if (got > 0) {
                message_.append(chunk, static_cast<std::size_t>(got));
                const std::size_t end = message_.find(kHandOverEnd);
                if (end == std::string::npos && message_.size() <= kHandOverLimit) {
                    continue;
                }
                if (end <= kHandOverLimit) {
                    Answer(message_.substr(0, end));
                } else {
                    End();  // longer than any path
                }
                return;
            }
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got == 0 || errno != EAGAIN) {
                End();
            }
            return;
        }
    }

    void Answer(const std::string& file) {
        notifier_.setEnabled(false);
        // The answer goes first: the window may open a box that waits.
        const char answer = kHandOverAnswer;
        if (send(socket_.Descriptor(), &answer, 1, MSG_NOSIGNAL) == 1) {
            receive_(file);
        }
        End();
    }

    void End() {
        notifier_.setEnabled(false);
        deleteLater();
    }

    Socket socket_;
    HandOverServer::Receive receive_;
    QSocketNotifier notifier_;
    std::string message_;
};

}  // namespace

HandOverServer::HandOverServer(int listening, Receive receive, QObject* parent)
    : QObject(parent), listening_(listening), receive_(std::move(receive)) {
    auto* notifier = new QSocketNotifier(listening_, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] { Accept(); });
    // Starts that came while the window was being built wait in the queue.
    QTimer::singleShot(0, this, [this] { Accept(); });
}

void HandOverServer::Accept() {
    while (true) {
        Socket client(accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!client.Ok()) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;
        }
        if (SameUser(client.Descriptor())) {
            new Connection(std::move(client), receive_, this);
        }
    }
}

}  // namespace tarvik
