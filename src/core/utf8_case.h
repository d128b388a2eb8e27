// Upper, lower and title case of UTF-8 text for every letter, the same in
// every environment: the mapping of the C.UTF-8 locale, whatever locale the
// process runs in. Bytes that are not valid UTF-8 are kept as they are.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

std::string UpperUtf8(std::string_view text);
std::string LowerUtf8(std::string_view text);
// The first character in upper case, the rest in lower case.
std::string TitleUtf8(std::string_view text);

}  // namespace tarvik
