#include "core/ini_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/files.h"

namespace tarvik {
namespace {

struct Line {
    std::string group;
    std::string key;
    std::string value;
    bool operator==(const Line&) const = default;
};

std::vector<Line> Parse(std::string_view bytes) {
    std::vector<Line> out;
    for (const IniEntry& e : ParseIniText(DecodeIniBytes(bytes)).Entries) {
        out.push_back({e.Group, e.Key, e.Value});
    }
    return out;
}

TEST(IniText, LinesGroupsKeysAndValues) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<Line> want;
    };
    const Case cases[] = {
        {"crlf", "[A]\r\nk = v\r\n", {{"A", "k", "v"}}},
        {"lf", "[A]\nk = v\n", {{"A", "k", "v"}}},
        {"cr only", "[A]\rk = v\rm = w", {{"A", "k", "v"}, {"A", "m", "w"}}},
        {"no final line end", "[A]\nk=v", {{"A", "k", "v"}}},
        {"blanks and tabs before lines", "  \t[A]\n \t k = v\n", {{"A", "k", "v"}}},
        {"key keeps inner blanks, loses trailing ones",
         "[A]\nUpdate Range \t = 2\n",
         {{"A", "Update Range", "2"}}},
        {"value keeps trailing blanks and later equals",
         "[A]\nk = \t a = b  \n",
         {{"A", "k", "a = b  "}}},
        {"empty value", "[A]\nImage Width =\n", {{"A", "Image Width", ""}}},
        {"comments and stray lines",
         "; note\n[A]\n;k = 1\nno equals here\nk = 2\n",
         {{"A", "k", "2"}}},
        {"group up to the bracket",
         "[Wa ter]mark]\nk = 1\n[Open\nm = 2\n",
         {{"Wa ter", "k", "1"}, {"Open", "m", "2"}}},
        {"keys before any group", "k = 1\n[A]\n", {{"", "k", "1"}}},
        {"bom: utf-8 kept", "\xEF\xBB\xBF[A]\nk = caf\xC3\xA9\n", {{"A", "k", "caf\xC3\xA9"}}},
        {"no bom: iso-8859-1", "[A]\nk = caf\xE9 \xFF\n", {{"A", "k", "caf\xC3\xA9 \xC3\xBF"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Parse(c.bytes), c.want);
    }
}

TEST(IniText, LookupIgnoresCaseAndTheLastLineWins) {
    const IniText ini = ParseIniText(
        "[general]\nlanguage = de\n[Other]\nLanguage = fr\n[GENERAL]\nLANGUAGE = it\n");
    const std::string* value = FindIniValue(ini, "General", "Language");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, "it");
    EXPECT_EQ(FindIniValue(ini, "General", "Missing"), nullptr);
    EXPECT_EQ(FindIniValue(ini, "Missing", "Language"), nullptr);

    const std::vector<const IniEntry*> general = IniGroupEntries(ini, "GeNeRaL");
    ASSERT_EQ(general.size(), 2u);
    EXPECT_EQ(general[0]->Value, "de");
    EXPECT_EQ(general[1]->Value, "it");
}

TEST(IniText, OnlyReadableRegularFilesAreRead) {
    const std::string dir = test::MakeTempFolder("ini-read");
    ASSERT_TRUE(test::WriteFile(dir + "a.ini", "[A]\r\nk = 1\r\n"));
    IniText ini;
    ASSERT_TRUE(ReadIniFile(dir + "a.ini", ini));
    ASSERT_EQ(ini.Entries.size(), 1u);
    for (const std::string& path : {std::string(), dir + "missing.ini", dir}) {
        EXPECT_FALSE(ReadIniFile(path, ini)) << path;
    }
}

}  // namespace
}  // namespace tarvik
