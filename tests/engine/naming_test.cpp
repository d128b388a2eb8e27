#include "engine/naming.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/clock.h"
#include "engine/bitmap_fixtures.h"

namespace tarvik {
namespace {

using test_bitmaps::EngineTest;
using test_bitmaps::ScratchFolder;

class NamingTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        Job.OutputExtension = "bmp";
        Job.OutputFolder = "/out/";
    }
};

TEST_F(NamingTest, MaskTokensAndCase) {
    const struct {
        const char* mask;
        const char* source;
        const char* expected;
    } cases[] = {
        {"", "/in/Holiday.JPG", "Holiday.bmp"},
        {"%filename%.%ext%", "/in/Holiday.JPG", "Holiday.bmp"},
        {"%FILENAME%.%EXT%", "/in/Holiday.JPG", "Holiday.bmp"},
        {"%filename[u]%_%ext[u]%.%ext%", "/in/photo.jpg", "PHOTO_BMP.bmp"},
        {"%filename[t]%", "/in/hOLIDAY.jpg", "Holiday"},
        {"%filename[l]%.%ext[t]%", "/in/MiXeD.jpg", "mixed.Bmp"},
        {"%Filename[U]%", "/in/abc.jpg", "ABC"},
        {"Photo_%filename%.%ext%", "/in/IMG_7.jpg", "photo_IMG_7.bmp"},
        {"%filename%", "/in/archive.tar.jpg", "archive.tar"},
        {"%filename%.%ext%", "/in/noext", "noext.bmp"},
        {"%filename%.%ext%", "/in.d/pic", "pic.bmp"},
        {"Plain", "/in/a.jpg", "plain"},
        {"%filename%-%filename%", "/in/Two.jpg", "Two-Two"},
        {"%unknown%_%filename%", "/in/a.jpg", "%unknown%_a"},
        // Every letter of a UTF-8 name has its case forms.
        {"%filename[u]%.%ext%", "/in/ärger.jpg", "ÄRGER.bmp"},
        {"%filename[l]%", "/in/ÄRGER.jpg", "ärger"},
        {"%filename[t]%", "/in/éCOLE d’ÉTÉ.jpg", "École d’été"},
        {"%filename[u]%", "/in/σοφία.jpg", "ΣΟΦΊΑ"},
        {"%filename[t]%", "/in/пРИВЕТ.jpg", "Привет"},
        {"%filename[u]%", "/in/straße 😀.jpg", "STRAßE 😀"},
        {"Ärger_%filename%", "/in/Ö.jpg", "ärger_Ö"},
        // Bytes that are not UTF-8 stay as they are.
        {"%filename[u]%",
         "/in/a\xE4"
         "b\xC3.jpg",
         "A\xE4"
         "B\xC3"},
    };
    for (const auto& c : cases) {
        Settings.Advanced.FilenameMask = c.mask;
        Job.SourceFile = c.source;
        EXPECT_EQ(ExpandFilenameMask(), c.expected) << '"' << c.mask << "\" on " << c.source;
    }
}

TEST_F(NamingTest, NumberTokens) {
    const struct {
        const char* mask;
        int bpp, width, height, random, sequence;
        const char* expected;
    } cases[] = {
        {"%bpp%_%width%x%height%", 24, 640, 480, 1, 1, "24_640x480"},
        {"%n%", 0, 0, 0, 1, 1, "00001"},
        {"%n%", 0, 0, 0, 1, 42, "00042"},
        {"%n%", 0, 0, 0, 1, 99999, "99999"},
        {"%n%", 0, 0, 0, 1, 123456, "12345"},  // first five digits
        {"img_%rnd%.%ext%", 0, 0, 0, 7, 1, "img_00007.bmp"},
        {"%RND%", 0, 0, 0, 99999, 1, "99999"},
    };
    Job.SourceFile = "/in/a.jpg";
    for (const auto& c : cases) {
        Settings.Advanced.FilenameMask = c.mask;
        Job.OutputBpp = c.bpp;
        Job.ImageWidth = c.width;
        Job.ImageHeight = c.height;
        Job.RandomNumber = c.random;
        Job.SequenceNumber = c.sequence;
        EXPECT_EQ(ExpandFilenameMask(), c.expected) << c.mask;
    }
}

TEST_F(NamingTest, ValueHoldingALaterTokenIsReplacedAgain) {
    Settings.Advanced.FilenameMask = "%filename%";
    Job.SourceFile = "/in/%rnd%.jpg";
    Job.RandomNumber = 314;
    EXPECT_EQ(ExpandFilenameMask(), "00314");
}

TEST_F(NamingTest, RandomNumberAfterResetHasFiveDigits) {
    Settings.Advanced.FilenameMask = "IMG_%rnd%.%ext%";
    Job.SourceFile = "/in/a.jpg";
    const std::string name = ExpandFilenameMask();
    ASSERT_EQ(name.size(), 13u) << name;
    const std::string digits = name.substr(4, 5);
    EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << name;
    EXPECT_EQ(std::stoi(digits), Job.RandomNumber);
}

std::string Dated(const std::tm& t, const char* tail) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d_%02d%02d%02d%s", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, tail);
    return buf;
}

TEST_F(NamingTest, DateTokensReadTheLocalClockAndNumbersRunFromOne) {
    Settings.Advanced.FilenameMask = "%yyyy%-%mm%-%dd%_%hh%%ii%%ss%_%n%.%ext%";
    Job.SourceFile = "/in/a.jpg";
    for (const char* tail : {"_00001.bmp", "_00002.bmp"}) {
        const std::tm before = LocalFields(LocalNow());
        const std::string name = ExpandFilenameMask();
        const std::tm after = LocalFields(LocalNow());
        EXPECT_TRUE(name == Dated(before, tail) || name == Dated(after, tail)) << name;
        ++Job.SequenceNumber;
    }
}

TEST_F(NamingTest, ExpandTokenReplacesEveryCaseOfOneToken) {
    Job.SourceFile = "/in/Pic.jpg";
    EXPECT_EQ(ExpandToken("a%EXT%b%ext%c%Ext%", "%ext%"), "abmpbbmpcbmp");
    EXPECT_EQ(ExpandToken("%filename% %ext%", "%FILENAME%"), "Pic %ext%");
    EXPECT_EQ(ExpandToken("%foo% %ext%", "%foo%"), "%foo% %ext%");
}

TEST_F(NamingTest, OutputPathWithAndWithoutSubfolder) {
    Job.SourceFile = "/in/2020/Holiday.jpg";
    Job.RelativeFolder = "2020/";
    Settings.Advanced.FilenameMask = "";
    Settings.Advanced.KeepSubfolders = 1;
    EXPECT_EQ(BuildOutputPath(), "/out/2020/Holiday.bmp");
    Settings.Advanced.KeepSubfolders = 0;
    EXPECT_EQ(BuildOutputPath(), "/out/Holiday.bmp");
}

TEST_F(NamingTest, WatermarkTextKeepsItsLiteralCase) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"100% real", "100% real"},
        {"%width%", "0"},
        {"Size: %width%x%height%", "Size: 0x0"},
        {"Made by %FileName% (%EXT[U]%)", "Made by Holiday (BMP)"},
        {"50%% Off", "50%% Off"},
        // Which tokens to replace is read from the text as stored.
        {"%filename[l]%!", "holiday!"},
        {"", ""},
    };
    Job.SourceFile = "/in/Holiday.jpg";
    Job.ImageWidth = 0;
    Job.ImageHeight = 0;
    for (const auto& c : cases) {
        Settings.Watermark.Text = c.text;
        EXPECT_EQ(ExpandWatermarkText(), c.expected) << c.text;
    }
}

TEST_F(NamingTest, WatermarkTokensAreChosenFromTheStoredText) {
    // The name brings in "%rnd%", which the stored text does not hold.
    Job.SourceFile = "/in/%rnd%.jpg";
    Job.RandomNumber = 5;
    Settings.Watermark.Text = "%filename% %n%";
    EXPECT_EQ(ExpandWatermarkText(), "%rnd% 00001");
    Settings.Watermark.Text = "%filename% %rnd%";
    EXPECT_EQ(ExpandWatermarkText(), "00005 00005");
}

// Timestamps are checked under a zone with summer time, so that the local
// wall-clock conversions matter.
class TimestampTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        const char* tz = std::getenv("TZ");
        savedTz_ = tz != nullptr ? tz : "";
        hadTz_ = tz != nullptr;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
        ASSERT_FALSE(folder_.Path().empty());
        Job.SourceFile = Touch("in.jpg", kSourceTime);
        Job.OutputFile = Touch("out.bmp", kOutputTime);
    }
    void TearDown() override {
        if (hadTz_) {
            setenv("TZ", savedTz_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    std::string Touch(const char* name, std::time_t when) {
        const std::string path = folder_.Path() + name;
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fclose(f);
        }
        const timespec times[2] = {{.tv_sec = kAccessTime, .tv_nsec = 0},
                                   {.tv_sec = when, .tv_nsec = 700000000}};
        utimensat(AT_FDCWD, path.c_str(), times, 0);
        return path;
    }

    static struct stat Stat(const std::string& path) {
        struct stat st {};
        stat(path.c_str(), &st);
        return st;
    }

    static constexpr std::time_t kSourceTime = 981173106;  // 2001-02-03 04:05:06 UTC
    static constexpr std::time_t kOutputTime = 1600000000;
    static constexpr std::time_t kAccessTime = 1500000000;

    ScratchFolder folder_;
    std::string savedTz_;
    bool hadTz_ = false;
};

TEST_F(TimestampTest, CopiesTheSourceTimeToTheSecond) {
    Settings.Advanced.FileTimestamp = 1;
    ApplyFileTimestamp();
    const struct stat out = Stat(Job.OutputFile);
    EXPECT_EQ(out.st_mtim.tv_sec, kSourceTime);
    EXPECT_EQ(out.st_atim.tv_sec, kAccessTime);
}

TEST_F(TimestampTest, SetsTheCustomLocalTime) {
    const struct {
        int year, month, day, hour, minute, second;
    } cases[] = {{2015, 6, 15, 12, 34, 56}, {2020, 1, 2, 3, 4, 5}};
    for (const auto& c : cases) {
        // The setting counts local wall-clock seconds.
        std::tm local{};
        local.tm_year = c.year - 1900;
        local.tm_mon = c.month - 1;
        local.tm_mday = c.day;
        local.tm_hour = c.hour;
        local.tm_min = c.minute;
        local.tm_sec = c.second;
        Settings.Advanced.FileTimestamp = 2;
        Settings.Advanced.CustomTimestamp = static_cast<std::int32_t>(timegm(&local));
        ApplyFileTimestamp();
        local.tm_isdst = -1;
        const struct stat out = Stat(Job.OutputFile);
        EXPECT_EQ(out.st_mtim.tv_sec, std::mktime(&local)) << c.year;
        EXPECT_EQ(out.st_atim.tv_sec, kAccessTime);
    }
}

TEST_F(TimestampTest, NothingForTimeOfWritingOrUnreadableFiles) {
    Settings.Advanced.FileTimestamp = 0;
    ApplyFileTimestamp();
    EXPECT_EQ(Stat(Job.OutputFile).st_mtim.tv_sec, kOutputTime);

    Settings.Advanced.FileTimestamp = 1;
    Job.SourceFile = folder_.Path() + "missing.jpg";
    ApplyFileTimestamp();
    EXPECT_EQ(Stat(Job.OutputFile).st_mtim.tv_sec, kOutputTime);

    Settings.Advanced.FileTimestamp = 2;
    Job.OutputFile = folder_.Path() + "missing.bmp";
    ApplyFileTimestamp();  // ignored
    struct stat st {};
    EXPECT_NE(stat(Job.OutputFile.c_str(), &st), 0);
}

}  // namespace
}  // namespace tarvik
