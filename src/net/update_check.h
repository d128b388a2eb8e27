// The window-free half of the update check: where the update file is, what
// a reply means, which message box follows, and when the window's start-up
// asks whether to check. The window shows the boxes and opens HomePageUrl
// (core/product.h) when the user accepts a newer version. The command-line
// program does not link this library: a command-line job never checks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/http_client.h"

namespace tarvik {

inline constexpr std::string_view kUpdateFilePath = "/files/tarvik.dat";
// Environment variable that replaces the whole address of the update file.
inline constexpr std::string_view kUpdateUrlVariable = "TARVIK_UPDATE_URL";

// The address of the update file: $TARVIK_UPDATE_URL when it is set and not
// empty, otherwise "http://" + the build's update server + kUpdateFilePath.
std::string UpdateUrl();

// The user agent of the check: the full title, "Quorvane JPG to BMP 2.8".
std::string UpdateUserAgent();

enum class UpdateOutcome { kNewerVersion, kUpToDate, kCheckFailed };

// The reply read as a version number in the numbering of VersionNumber:
// above it is newer, 0 (no digits, an empty reply, "000") is a failed check,
// anything else (negative numbers too) is up to date.
UpdateOutcome ClassifyUpdateReply(std::string_view reply);

// Fetches the update file and classifies the reply. Blocks the calling
// thread for at most timeouts.whole.
UpdateOutcome FetchUpdateOutcome(const HttpTimeouts& timeouts = {});

enum class MessageIcon { kQuestion, kInformation, kError };

// A message box described by its catalog entries.
struct MessageBoxTexts {
    MessageIcon icon = MessageIcon::kInformation;
    bool yesNo = false;  // Yes and No buttons; otherwise OK alone
    std::string_view group;
    std::string_view titleKey;
    std::string_view textKey;
};

// The box that reports an outcome. The newer-version box asks Yes or No;
// Yes opens the home page, anything else does nothing more.
MessageBoxTexts UpdateOutcomeBox(UpdateOutcome outcome);

// The question the scheduled check asks first.
MessageBoxTexts ScheduledQuestionBox();

// How the window mode was started: screenshot mode ("-T") never asks.
enum class WindowStart { kNormal, kScreenshot };

// [General] Update Range codes: 0 every day, 1 every week, 2 every month,
// 3 every 3 months, 4 every 6 months, 5 never; other codes count as a month.
inline constexpr std::int32_t kUpdateRangeNever = 5;

// Whether the start-up asks the scheduled question: not in screenshot mode,
// not with range "Never", otherwise when now is strictly later than
// lastDate plus the range's interval. Times are local seconds (core/clock.h).
bool ScheduledQuestionDue(std::int32_t range, std::int64_t lastDate, std::int64_t now,
                          WindowStart start);

// The [General] Update Date to keep once the scheduled question has been
// answered, Yes or No alike: the time taken after the check (if any) has
// finished, so the question returns only after another full interval.
// Saturates to the setting's 32 bits.
std::int32_t UpdateDateAfterQuestion(std::int64_t nowAfterCheck);

}  // namespace tarvik
