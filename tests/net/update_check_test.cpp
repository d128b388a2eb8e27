#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "core/catalog.h"
#include "net/loopback_server.h"
#include "net/update_check.h"

namespace tarvik {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;

constexpr std::int64_t kDay = 86400;
// 2025-12-06 05:46:40 on the local wall clock.
constexpr std::int64_t kLastAsked = 1765000000;

TEST(ClassifyUpdateReply, ComparesTheNumberWithVersion280) {
    struct Case {
        const char* reply;
        UpdateOutcome outcome;
    };
    const Case cases[] = {
        {"281", UpdateOutcome::kNewerVersion},  {"999", UpdateOutcome::kNewerVersion},
        {"+281", UpdateOutcome::kNewerVersion}, {" \t281", UpdateOutcome::kNewerVersion},
        {"280", UpdateOutcome::kUpToDate},      {"100", UpdateOutcome::kUpToDate},
        {"28a", UpdateOutcome::kUpToDate},  // reads 28
        {"-5", UpdateOutcome::kUpToDate},       {"", UpdateOutcome::kCheckFailed},
        {"abc", UpdateOutcome::kCheckFailed},   {"<ht", UpdateOutcome::kCheckFailed},
        {"000", UpdateOutcome::kCheckFailed},   {"-0", UpdateOutcome::kCheckFailed},
        {"- 2", UpdateOutcome::kCheckFailed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyUpdateReply(c.reply), c.outcome) << '"' << c.reply << '"';
    }
}

TEST(UpdateBoxes, NameCatalogTextsWithTheirButtonsAndIcons) {
    struct Case {
        MessageBoxTexts box;
        MessageIcon icon;
        bool yesNo;
        const char* title;
        const char* text;
    };
    BuildCatalog();
    const Case cases[] = {
        {UpdateOutcomeBox(UpdateOutcome::kNewerVersion), MessageIcon::kQuestion, true, "New Update",
         "A new version of Quorvane JPG to BMP is available! Are you ready to download it right "
         "now?"},
        {UpdateOutcomeBox(UpdateOutcome::kUpToDate), MessageIcon::kInformation, false, "No Update",
         "There is no update of Quorvane JPG to BMP yet. You're using the most recent version."},
        {UpdateOutcomeBox(UpdateOutcome::kCheckFailed), MessageIcon::kError, false, "Error",
         "Internet connection problems!"},
        {ScheduledQuestionBox(), MessageIcon::kQuestion, true, "Check for Updates",
         "Do you want to check for updates?"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.box.icon, c.icon) << c.title;
        EXPECT_EQ(c.box.yesNo, c.yesNo) << c.title;
        EXPECT_EQ(CatalogText(c.box.group, c.box.titleKey), c.title);
        EXPECT_EQ(CatalogText(c.box.group, c.box.textKey), c.text);
    }
}

TEST(ScheduledQuestionDue, AsksOnlyOnceTheIntervalHasPassed) {
    struct Case {
        std::int32_t range;
        std::optional<std::int64_t> days;  // none: never asked
    };
    const Case cases[] = {
        {0, 1},  {1, 7},  {2, 30},  {3, 90}, {4, 180},
        {5, {}}, {9, 30}, {-1, 30}, {6, 30},  // unknown codes count as a month
    };
    for (const Case& c : cases) {
        if (!c.days) {
            EXPECT_FALSE(ScheduledQuestionDue(c.range, kLastAsked, kLastAsked + 3650 * kDay,
                                              WindowStart::kNormal))
                << c.range;
            continue;
        }
        const std::int64_t boundary = kLastAsked + *c.days * kDay;
        EXPECT_FALSE(ScheduledQuestionDue(c.range, kLastAsked, boundary, WindowStart::kNormal))
            << c.range;
        EXPECT_TRUE(ScheduledQuestionDue(c.range, kLastAsked, boundary + 1, WindowStart::kNormal))
            << c.range;
        EXPECT_FALSE(
            ScheduledQuestionDue(c.range, kLastAsked, boundary + 1, WindowStart::kScreenshot))
            << c.range;
    }
}

// Yes or No, the date moves to the time after the check, so the question
// comes back only after another full interval.
TEST(ScheduledQuestionDue, AnswerMovesTheNextQuestionAFullIntervalAway) {
    const std::int64_t asked = kLastAsked + 8 * kDay;
    ASSERT_TRUE(ScheduledQuestionDue(1, kLastAsked, asked, WindowStart::kNormal));
    const std::int64_t afterCheck = asked + 11;
    const std::int32_t stored = UpdateDateAfterQuestion(afterCheck);
    EXPECT_EQ(stored, afterCheck);
    EXPECT_FALSE(ScheduledQuestionDue(1, stored, afterCheck + 7 * kDay, WindowStart::kNormal));
    EXPECT_TRUE(ScheduledQuestionDue(1, stored, afterCheck + 7 * kDay + 1, WindowStart::kNormal));
    // The setting holds 32 bits; a later clock does not wrap to the past.
    EXPECT_EQ(UpdateDateAfterQuestion(std::int64_t{1} << 40),
              std::numeric_limits<std::int32_t>::max());
}

// Sets or clears TARVIK_UPDATE_URL for one test and puts it back after.
class UpdateUrlVariable : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* value = std::getenv(kName);
        saved_ = value ? std::optional<std::string>(value) : std::nullopt;
    }
    void TearDown() override {
        if (saved_) {
            setenv(kName, saved_->c_str(), 1);
        } else {
            unsetenv(kName);
        }
    }
    static void Set(const std::string& url) { setenv(kName, url.c_str(), 1); }
    static void Clear() { unsetenv(kName); }

    static constexpr const char* kName = "TARVIK_UPDATE_URL";

  private:
    std::optional<std::string> saved_;
};

TEST_F(UpdateUrlVariable, ReplacesTheBuildsAddress) {
    Clear();
    const std::string builtIn = UpdateUrl();
    const std::optional<HttpTarget> target = SplitHttpUrl(builtIn);
    ASSERT_TRUE(target.has_value()) << builtIn;
    EXPECT_EQ(target->port, 80);
    EXPECT_EQ(target->path, "/files/tarvik.dat");

    Set("");
    EXPECT_EQ(UpdateUrl(), builtIn);
    Set("http://127.0.0.1:8080/test/version.dat");
    EXPECT_EQ(UpdateUrl(), "http://127.0.0.1:8080/test/version.dat");
}

TEST_F(UpdateUrlVariable, CheckAsksTheServerItNames) {
    struct Case {
        const char* body;
        UpdateOutcome outcome;
    };
    const Case cases[] = {
        {" 2812\r\n", UpdateOutcome::kNewerVersion},
        {"280", UpdateOutcome::kUpToDate},
        {"<html>Not here</html>", UpdateOutcome::kCheckFailed},
    };
    const HttpTimeouts waits{.firstReply = 1500ms, .whole = 3000ms};
    for (const Case& c : cases) {
        LoopbackServer server(
            LoopbackServer::Reply(std::string("HTTP/1.0 200 OK\r\n\r\n") + c.body));
        ASSERT_NE(server.Port(), 0);
        Set(server.Url("/files/tarvik.dat"));
        EXPECT_EQ(FetchUpdateOutcome(waits), c.outcome) << c.body;
        ASSERT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(server.Requests()[0],
                  "GET /files/tarvik.dat HTTP/1.0\r\nHost: 127.0.0.1\r\nAccept: */*\r\n"
                  "User-Agent: Quorvane JPG to BMP 2.8\r\nConnection: close\r\n\r\n");
    }
    const test::RefusingPort refusing;
    ASSERT_NE(refusing.Port(), 0);
    Set(refusing.Url("/files/tarvik.dat"));
    EXPECT_EQ(FetchUpdateOutcome(waits), UpdateOutcome::kCheckFailed);
}

}  // namespace
}  // namespace tarvik
