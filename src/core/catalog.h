// The language catalog: every text the program shows, looked up by group
// and key (both without regard to ASCII case). Built once per process from
// the compiled-in table.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

inline constexpr std::string_view kNoStringError = "%NO_STRING_ERROR%";

void BuildCatalog();

// The entry's text, or "%NO_STRING_ERROR%" for an unknown group or key.
std::string CatalogText(std::string_view group, std::string_view key);

// Replaces "%s1%".."%s4%" (any case) in turn by the non-empty values; an
// empty value leaves its placeholder. Later placeholders inside earlier
// values are expanded too.
std::string FillPlaceholders(std::string_view text, std::string_view s1 = {},
                             std::string_view s2 = {}, std::string_view s3 = {},
                             std::string_view s4 = {});

// The same placeholders filled in one pass: a value goes in as it is, so a
// path that holds "%s2%" is shown as written.
std::string FillPlaceholdersOnce(std::string_view text, std::string_view s1 = {},
                                 std::string_view s2 = {}, std::string_view s3 = {},
                                 std::string_view s4 = {});

// "Error: " and the text of group "Console", key, with its placeholders
// filled: a line for standard error.
std::string ConsoleErrorText(std::string_view key, std::string_view s1 = {},
                             std::string_view s2 = {});

}  // namespace tarvik
