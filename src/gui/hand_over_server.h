// The window's end of a second start: takes the connections on the
// hand-over socket, reads each message (bounded in size and time) from
// this user's processes only, passes its file to the window and answers.
#pragma once

#include <QObject>

#include <functional>
#include <string>

namespace tarvik {

class HandOverServer : public QObject {
  public:
    // file is "" when the second start named none: the window only comes
    // to the front.
    using Receive = std::function<void(const std::string& file)>;

    // Watches listening, a listening socket that stays open meanwhile.
    HandOverServer(int listening, Receive receive, QObject* parent = nullptr);

  private:
    void Accept();

    int listening_;
    Receive receive_;
};

}  // namespace tarvik
