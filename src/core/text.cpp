#include "core/text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tarvik {
namespace {

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
bool IsSpace(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::int32_t Saturate(bool negative, std::uint64_t magnitude) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (negative) {
        return magnitude > kMax + 1
                   ? std::numeric_limits<std::int32_t>::min()
                   : static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    return magnitude > kMax ? std::numeric_limits<std::int32_t>::max()
                            : static_cast<std::int32_t>(magnitude);
}

// Reads digits of the base from text[i...], accumulating with a ceiling so
// long inputs cannot overflow.
std::uint64_t ReadDigits(std::string_view text, std::size_t i, int base) {
    std::uint64_t value = 0;
    constexpr std::uint64_t kCeiling = std::uint64_t{1} << 40;
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0) {
            break;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (value > kCeiling) {
            value = kCeiling;
        }
    }
    return value;
}

std::int32_t ReadSignedDigits(std::string_view text, std::size_t i, bool allowRadixPrefix) {
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (allowRadixPrefix && i < text.size() && (text[i] == '$' || text[i] == '%')) {
        base = text[i] == '$' ? 16 : 2;
        ++i;
    }
    return Saturate(negative, ReadDigits(text, i, base));
}

// Locale-independent fixed notation; the special values in the words the
// float reader accepts.
std::string FixedText(float value, int decimals) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "+Infinity" : "-Infinity";
    }
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                      std::chars_format::fixed, decimals);
    return std::string(buf, result.ptr);
}

}  // namespace

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < base ? v : -1;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = UpperChar(c);
    }
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = LowerChar(c);
    }
    return out;
}

std::string_view TrimLeft(std::string_view text) {
    std::size_t b = 0;
    while (b < text.size() && IsSpace(text[b])) {
        ++b;
    }
    return text.substr(b);
}

std::string_view TrimRight(std::string_view text) {
    std::size_t e = text.size();
    while (e > 0 && IsSpace(text[e - 1])) {
        --e;
    }
    return text.substr(0, e);
}

std::string_view Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperChar(a[i]) != UpperChar(b[i])) {
            return false;
        }
    }
    return true;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty() || needle.size() > text.size()) {
        return std::string_view::npos;
    }
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (EqualsNoCase(text.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::size_t CountNoCase(std::string_view text, std::string_view needle) {
    std::size_t count = 0;
    for (std::size_t at = FindNoCase(text, needle); at != std::string_view::npos;
         at = FindNoCase(text, needle, at + needle.size())) {
        ++count;
    }
    return count;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view needle,
                             std::string_view value) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = FindNoCase(text, needle); at != std::string_view::npos;
         at = FindNoCase(text, needle, from)) {
        out.append(text.substr(from, at - from));
        out.append(value);
        from = at + needle.size();
    }
    out.append(text.substr(from));
    return out;
}

std::int32_t ReadConfigInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    return ReadSignedDigits(text, i, false);
}

std::int32_t ReadOptionInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    return ReadSignedDigits(text, i, true);
}

float ReadFloat(std::string_view text) {
    const std::string_view t = Trim(text);
    if (EqualsNoCase(t, "+Infinity") || EqualsNoCase(t, "Infinity")) {
        return std::numeric_limits<float>::infinity();
    }
    if (EqualsNoCase(t, "-Infinity")) {
        return -std::numeric_limits<float>::infinity();
    }
    if (EqualsNoCase(t, "NaN")) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    // Take only sign, digits and one fraction, so hex floats and exponents
    // from the C library do not slip in.
    std::size_t i = 0;
    std::string number;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        number += t[i++];
    }
    bool digits = false;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        number += t[i];
        digits = true;
    }
    if (i < t.size() && t[i] == '.') {
        number += t[i++];
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            number += t[i];
            digits = true;
        }
    }
    if (!digits) {
        return 0.0f;
    }
    // from_chars ignores the process locale, which a GUI toolkit may change.
    float value = 0.0f;
    const char* first = number.data() + (number[0] == '+' ? 1 : 0);
    std::from_chars(first, number.data() + number.size(), value);
    return value;
}

std::string FormatFloat6(float value) {
    return FixedText(value, 6);
}
std::string FormatFloat2(float value) {
    return FixedText(value, 2);
}

}  // namespace tarvik
