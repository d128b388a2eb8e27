#include "net/update_check.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "core/product.h"

#ifndef TARVIK_UPDATE_HOST
#error "TARVIK_UPDATE_HOST names the update server; the build sets it"
#endif

namespace tarvik {

namespace {

constexpr std::string_view kUpdateHost = TARVIK_UPDATE_HOST;
constexpr std::string_view kMessageGroup = "Msg";
constexpr std::int64_t kSecondsPerDay = 86400;
// Days between scheduled questions, indexed by [General] Update Range.
constexpr std::array<std::int64_t, kUpdateRangeNever> kIntervalDays = {1, 7, 30, 90, 180};
constexpr std::int64_t kUnknownRangeDays = 30;

std::int64_t IntervalDays(std::int32_t range) {
    if (range < 0 || static_cast<std::size_t>(range) >= kIntervalDays.size()) {
        return kUnknownRangeDays;
    }
    return kIntervalDays[static_cast<std::size_t>(range)];
}

}  // namespace

std::string UpdateUrl() {
    const char* overridden = std::getenv(std::string(kUpdateUrlVariable).c_str());
    if (overridden != nullptr && *overridden != '\0') {
        return overridden;
    }
    return "http://" + std::string(kUpdateHost) + std::string(kUpdateFilePath);
}

std::string UpdateUserAgent() {
    return FullTitle();
}

UpdateOutcome ClassifyUpdateReply(std::string_view reply) {
    const std::int32_t latest = ReadDecimal(reply);
    if (latest == 0) {
        return UpdateOutcome::kCheckFailed;
    }
    return latest > VersionNumber ? UpdateOutcome::kNewerVersion : UpdateOutcome::kUpToDate;
}

UpdateOutcome FetchUpdateOutcome(const HttpTimeouts& timeouts) {
    return ClassifyUpdateReply(HttpGetText(UpdateUrl(), UpdateUserAgent(), timeouts));
}

MessageBoxTexts UpdateOutcomeBox(UpdateOutcome outcome) {
    switch (outcome) {
        case UpdateOutcome::kNewerVersion:
            return {MessageIcon::kQuestion, true, kMessageGroup, "New Update", "New Update Text"};
        case UpdateOutcome::kUpToDate:
            return {MessageIcon::kInformation, false, kMessageGroup, "No Update", "No Update Text"};
        case UpdateOutcome::kCheckFailed:
            break;
    }
    return {MessageIcon::kError, false, kMessageGroup, "Error", "Internet connection problems"};
}

MessageBoxTexts ScheduledQuestionBox() {
    return {MessageIcon::kQuestion, true, kMessageGroup, "Check for Updates",
            "Ask check for updates"};
}

bool ScheduledQuestionDue(std::int32_t range, std::int64_t lastDate, std::int64_t now,
                          WindowStart start) {
    if (start == WindowStart::kScreenshot || range == kUpdateRangeNever) {
        return false;
    }
    return now > lastDate + IntervalDays(range) * kSecondsPerDay;
}

std::int32_t UpdateDateAfterQuestion(std::int64_t nowAfterCheck) {
    using Limits = std::numeric_limits<std::int32_t>;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(nowAfterCheck, Limits::min(), Limits::max()));
}

}  // namespace tarvik
