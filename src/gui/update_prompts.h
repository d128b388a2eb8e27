// The update check in the window: the request runs off the window thread
// under a busy cursor, so the window keeps painting, and its outcome is
// told in a message box. The scheduled check asks first and remembers when
// it asked.
#pragma once

#include <cstdint>
#include <functional>

#include "net/http_client.h"
#include "net/update_check.h"

class QWidget;

namespace tarvik {

// Shows a box of catalog texts; true when it was answered Yes.
bool ShowMessageBox(QWidget* parent, const MessageBoxTexts& texts);

// Fetches the update file on a thread of its own. The window thread turns
// its event loop meanwhile, painting but taking no user input.
UpdateOutcome FetchUpdateOutcomeAside(const HttpTimeouts& timeouts = {});

// One check with its box; Yes to a newer version opens the home page.
void CheckForUpdates(QWidget* parent, const HttpTimeouts& timeouts = {});

using LocalClock = std::function<std::int64_t()>;

// At the window's start: when [General] Update Range has passed since
// [General] Update Date, asks whether to check, checks on Yes, and moves the
// date to the clock's time after the check, whatever the answer.
void ScheduledUpdateCheck(QWidget* parent, WindowStart start, const LocalClock& now,
                          const HttpTimeouts& timeouts = {});

}  // namespace tarvik
