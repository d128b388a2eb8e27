// Small text helpers shared by every folder: ASCII case mapping, trimming,
// case-insensitive search and replace, and the number readers of the
// config file and the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

// Removes control characters and blanks (code <= 32) at both ends.
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// Position of needle in text compared without regard to ASCII case, or npos.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);
std::size_t CountNoCase(std::string_view text, std::string_view needle);

// Replaces every occurrence of needle (any case) by value.
std::string ReplaceAllNoCase(std::string_view text, std::string_view needle,
                             std::string_view value);

// The value of c as a digit of base (up to 16, either letter case); -1
// when it is none.
int DigitValue(char c, int base);

// Config-file integer: leading blanks, optional sign, decimal digits up to
// the first other character; no digits gives 0. Saturates at 32 bits.
std::int32_t ReadConfigInteger(std::string_view text);

// Command-line integer: leading blanks and tabs, optional sign, then decimal
// digits, or hexadecimal after "$", or binary after "%"; stops at the first
// character that does not fit; no digits gives 0. Saturates at 32 bits.
std::int32_t ReadOptionInteger(std::string_view text);

// Float: "+Infinity", "-Infinity", "NaN" (any case), or a decimal number with
// an optional fraction; text not beginning with a number gives 0.
float ReadFloat(std::string_view text);

// The float as the config file writes it: six decimals.
std::string FormatFloat6(float value);
// With two decimals, as debug lines show gamma.
std::string FormatFloat2(float value);

}  // namespace tarvik
