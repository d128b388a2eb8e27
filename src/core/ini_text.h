// The INI text format shared by the config file and profile files: group
// lines "[name]", key lines "key = value", comment lines ";". Read as
// UTF-8 after a byte-order mark, else as ISO-8859-1; held as UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kIniLineEnd = "\r\n";

struct IniEntry {
    std::string Group;  // as written in the file
    std::string Key;    // text before the first "=", trailing blanks and tabs removed
    std::string Value;  // text after the "=", leading blanks and tabs removed
};

// Every key line of a file, in file order.
struct IniText {
    std::vector<IniEntry> Entries;
};

// File bytes as UTF-8: the mark is dropped, text without it is taken as
// ISO-8859-1 (each byte one character).
std::string DecodeIniBytes(std::string_view bytes);

// Lines end at CR, LF or CR LF.
IniText ParseIniText(std::string_view utf8);

// False when the path is not a readable regular file.
bool ReadIniFile(const std::string& path, IniText& out);

// The value of the last line of key in group (names compared without regard
// to case), as a later line overrides an earlier one; null when absent.
const std::string* FindIniValue(const IniText& ini, std::string_view group, std::string_view key);

// The key lines of every group of that name, in file order.
std::vector<const IniEntry*> IniGroupEntries(const IniText& ini, std::string_view group);

}  // namespace tarvik
