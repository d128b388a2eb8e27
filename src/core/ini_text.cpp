#include "core/ini_text.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "core/text.h"

namespace tarvik {
namespace {

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

std::string_view SkipBlanksAndTabs(std::string_view text) {
    std::size_t b = 0;
    while (b < text.size() && IsBlankOrTab(text[b])) {
        ++b;
    }
    return text.substr(b);
}

std::string_view DropTrailingBlanksAndTabs(std::string_view text) {
    std::size_t e = text.size();
    while (e > 0 && IsBlankOrTab(text[e - 1])) {
        --e;
    }
    return text.substr(0, e);
}

void AppendLatin1(std::string& out, unsigned char c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
}

// One line of the file; updates the open group.
void ParseLine(std::string_view line, std::string& group, IniText& ini) {
    line = SkipBlanksAndTabs(line);
    if (line.empty() || line.front() == ';') {
        return;
    }
    if (line.front() == '[') {
        const std::size_t close = line.find(']', 1);
        group =
            std::string(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
        return;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return;  // neither group nor key: ignored
    }
    ini.Entries.push_back({group, std::string(DropTrailingBlanksAndTabs(line.substr(0, eq))),
                           std::string(SkipBlanksAndTabs(line.substr(eq + 1)))});
}

}  // namespace

std::string DecodeIniBytes(std::string_view bytes) {
    if (StartsWith(bytes, kUtf8Bom)) {
        return std::string(bytes.substr(kUtf8Bom.size()));
    }
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        AppendLatin1(out, static_cast<unsigned char>(c));
    }
    return out;
}

IniText ParseIniText(std::string_view utf8) {
    IniText ini;
    std::string group;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = utf8.size();
        }
        ParseLine(utf8.substr(start, end - start), group, ini);
        start = end + 1;
        if (end + 1 < utf8.size() && utf8[end] == '\r' && utf8[end + 1] == '\n') {
            ++start;
        }
    }
    return ini;
}

bool ReadIniFile(const std::string& path, IniText& out) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (file.bad()) {
        return false;
    }
    out = ParseIniText(DecodeIniBytes(bytes));
    return true;
}

const std::string* FindIniValue(const IniText& ini, std::string_view group, std::string_view key) {
    const std::string* found = nullptr;
    for (const IniEntry& entry : ini.Entries) {
        if (EqualsNoCase(entry.Group, group) && EqualsNoCase(entry.Key, key)) {
            found = &entry.Value;
        }
    }
    return found;
}

std::vector<const IniEntry*> IniGroupEntries(const IniText& ini, std::string_view group) {
    std::vector<const IniEntry*> out;
    for (const IniEntry& entry : ini.Entries) {
        if (EqualsNoCase(entry.Group, group)) {
            out.push_back(&entry);
        }
    }
    return out;
}

}  // namespace tarvik
