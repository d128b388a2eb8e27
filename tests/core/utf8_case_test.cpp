#include "core/utf8_case.h"

#include <gtest/gtest.h>
#include <locale.h>

namespace tarvik {
namespace {

TEST(Utf8Case, EveryLetterHasItsCaseFormsAndOtherBytesStay) {
    const struct {
        const char* text;
        const char* upper;
        const char* lower;
        const char* title;
    } cases[] = {
        {"hOLIDAY_07", "HOLIDAY_07", "holiday_07", "Holiday_07"},
        {"ärger", "ÄRGER", "ärger", "Ärger"},
        {"ÉCOLE", "ÉCOLE", "école", "École"},
        {"σοφία", "ΣΟΦΊΑ", "σοφία", "Σοφία"},
        {"привет", "ПРИВЕТ", "привет", "Привет"},
        {"ǉubljana", "ǇUBLJANA", "ǉubljana", "Ǉubljana"},
        {"😀x", "😀X", "😀x", "😀x"},
        {"", "", "", ""},
        // Not UTF-8: a lone continuation byte, a cut sequence, an overlong
        // slash and an encoded surrogate pass through unchanged.
        {"a\x80z", "A\x80Z", "a\x80z", "A\x80z"},
        {"a\xC3", "A\xC3", "a\xC3", "A\xC3"},
        {"\xC0\xAFq", "\xC0\xAFQ", "\xC0\xAFq", "\xC0\xAFq"},
        {"\xED\xA0\x80q", "\xED\xA0\x80Q", "\xED\xA0\x80q", "\xED\xA0\x80q"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperUtf8(c.text), c.upper) << c.text;
        EXPECT_EQ(LowerUtf8(c.text), c.lower) << c.text;
        EXPECT_EQ(TitleUtf8(c.text), c.title) << c.text;
    }
}

TEST(Utf8Case, TheProcessLocaleDoesNotMatter) {
    // A Turkish locale would turn i into İ; the mapping is fixed.
    setlocale(LC_ALL, "C");
    EXPECT_EQ(UpperUtf8("iä"), "IÄ");
    EXPECT_EQ(LowerUtf8("IÄ"), "iä");
}

}  // namespace
}  // namespace tarvik
