// A real HTTP server on 127.0.0.1 for tests of the update check. It listens
// on a port the system picks, serves connections one after another on its
// own thread with a handler the test gives, and records the request bytes
// each connection sent.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "net/socket.h"

namespace tarvik::test {

class LoopbackServer {
  public:
    // One accepted connection as the handler sees it. Every wait ends when
    // the server stops.
    class Connection {
      public:
        Connection(LoopbackServer& server, Socket socket);
        // Reads up to the blank line that ends the request head (or until the
        // peer closes) and records every byte received.
        std::string ReadRequest();
        // Sends all bytes; false once the peer has gone or the server stops.
        bool Send(std::string_view bytes);
        // Waits; false when the server stops meanwhile.
        bool Pause(std::chrono::milliseconds duration);
        // Keeps the connection open, silent, until the server stops.
        void HoldOpen();

      private:
        LoopbackServer& server_;
        Socket socket_;
    };
    using Handler = std::function<void(Connection&)>;

    explicit LoopbackServer(Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by pathAndQuery.
    std::string Url(std::string_view pathAndQuery) const;
    // The request bytes of each connection so far, in order.
    std::vector<std::string> Requests() const;

    // Reads the request, sends the bytes and closes.
    static Handler Reply(std::string bytes);

  private:
    void Serve();
    bool Stopping() const { return stopping_.load(); }

    Handler handler_;
    Socket listener_;
    Socket stopRead_;
    Socket stopWrite_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A port on 127.0.0.1 that refuses connections: bound, so nobody else takes
// it meanwhile, but not listening.
class RefusingPort {
  public:
    RefusingPort();
    int Port() const { return port_; }
    std::string Url(std::string_view pathAndQuery) const;

  private:
    Socket socket_;
    int port_ = 0;
};

}  // namespace tarvik::test
