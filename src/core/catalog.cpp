#include "core/catalog.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/catalog_table.h"
#include "core/text.h"

namespace tarvik {
namespace {

// The catalog's positions are 1-based ints, as its entries count them.
std::size_t Slot(int position) {
    return static_cast<std::size_t>(position);
}

// Joins key and text while the group is sorted; below every key character,
// so the joined strings sort by key.
constexpr char kKeyTextSeparator = '\x01';
constexpr std::size_t kLetterSlots = 256;

struct CatalogGroup {
    std::string Name;
    int FirstEntry = 0;
    int LastEntry = -1;
    std::array<int, kLetterSlots> LetterIndex{};
};

// Index 0 of each array is a placeholder that matches nothing.
struct LanguageCatalog {
    std::vector<std::string> CatalogKeys;
    std::vector<std::string> CatalogTexts;
    std::vector<CatalogGroup> CatalogGroups;
};

LanguageCatalog g_catalog;

// Per thread, so a debug line printed by the worker cannot race the cache;
// a stale index only costs one group search.
thread_local int t_currentGroup = 0;

enum class PairKind { Group, End, Entry };

PairKind KindOf(const CatalogPair& pair) {
    const std::string first = UpperAscii(pair.First);
    if (first == kCatalogGroupMarker) {
        return PairKind::Group;
    }
    return first == kCatalogEndMarker ? PairKind::End : PairKind::Entry;
}

unsigned FirstCode(std::string_view key) {
    return key.empty() ? 0u : static_cast<unsigned char>(key.front());
}

// Sorts the group's joined slots, splits them into key and text and fills
// the group's LetterIndex.
void SortGroup(CatalogGroup& group) {
    auto& keys = g_catalog.CatalogKeys;
    std::sort(keys.begin() + group.FirstEntry, keys.begin() + group.LastEntry + 1);
    unsigned previous = 0;
    for (int j = group.FirstEntry; j <= group.LastEntry; ++j) {
        const std::size_t cut = keys[Slot(j)].find(kKeyTextSeparator);
        g_catalog.CatalogTexts[Slot(j)] = keys[Slot(j)].substr(cut + 1);
        keys[Slot(j)].resize(cut);
        const unsigned code = FirstCode(keys[Slot(j)]);
        if (code != previous) {
            group.LetterIndex[code] = j;
        }
        previous = code;
    }
}

int FindGroup(const std::string& name) {
    const auto& groups = g_catalog.CatalogGroups;
    for (std::size_t g = 1; g < groups.size(); ++g) {
        if (groups[g].Name == name) {
            return static_cast<int>(g);
        }
    }
    return 0;
}

}  // namespace

void BuildCatalog() {
    const std::span<const CatalogPair> table = BuiltInCatalogTable();
    std::size_t groupCount = 0;
    std::size_t entryCount = 0;
    for (const CatalogPair& pair : table) {
        const PairKind kind = KindOf(pair);
        if (kind == PairKind::End) {
            break;
        }
        ++(kind == PairKind::Group ? groupCount : entryCount);
    }

    g_catalog.CatalogGroups.assign(groupCount + 1, CatalogGroup{});
    g_catalog.CatalogKeys.assign(entryCount + 1, std::string{});
    g_catalog.CatalogTexts.assign(entryCount + 1, std::string{});
    t_currentGroup = 0;

    int g = 0;
    int e = 0;
    for (const CatalogPair& pair : table) {
        const PairKind kind = KindOf(pair);
        if (kind == PairKind::Entry) {
            ++e;
            g_catalog.CatalogKeys[Slot(e)] =
                UpperAscii(pair.First) + kKeyTextSeparator + pair.Second;
            continue;
        }
        g_catalog.CatalogGroups[Slot(g)].LastEntry = e;
        if (kind == PairKind::End) {
            break;
        }
        ++g;
        g_catalog.CatalogGroups[Slot(g)].Name = UpperAscii(pair.Second);
        g_catalog.CatalogGroups[Slot(g)].FirstEntry = e + 1;
    }

    for (std::size_t i = 1; i < g_catalog.CatalogGroups.size(); ++i) {
        CatalogGroup& group = g_catalog.CatalogGroups[i];
        if (group.FirstEntry <= group.LastEntry) {
            SortGroup(group);
        }
    }
}

std::string CatalogText(std::string_view group, std::string_view key) {
    const auto& groups = g_catalog.CatalogGroups;
    if (groups.empty()) {
        return std::string(kNoStringError);
    }
    const std::string groupName = UpperAscii(group);
    const std::string wanted = UpperAscii(key);
    if (t_currentGroup < 0 || static_cast<std::size_t>(t_currentGroup) >= groups.size() ||
        groups[Slot(t_currentGroup)].Name != groupName) {
        t_currentGroup = FindGroup(groupName);
    }
    if (t_currentGroup == 0) {
        return std::string(kNoStringError);
    }
    const CatalogGroup& current = groups[Slot(t_currentGroup)];
    for (int j = current.LetterIndex[FirstCode(wanted)]; j != 0 && j <= current.LastEntry; ++j) {
        const int order = wanted.compare(g_catalog.CatalogKeys[Slot(j)]);
        if (order == 0) {
            return g_catalog.CatalogTexts[Slot(j)];
        }
        if (order < 0) {
            break;
        }
    }
    return std::string(kNoStringError);
}

std::string FillPlaceholders(std::string_view text, std::string_view s1, std::string_view s2,
                             std::string_view s3, std::string_view s4) {
    static constexpr std::string_view kPlaceholders[] = {"%s1%", "%s2%", "%s3%", "%s4%"};
    const std::string_view values[] = {s1, s2, s3, s4};
    std::string out(text);
    for (std::size_t i = 0; i < std::size(kPlaceholders); ++i) {
        if (!values[i].empty()) {
            out = ReplaceAllNoCase(out, kPlaceholders[i], values[i]);
        }
    }
    return out;
}

std::string FillPlaceholdersOnce(std::string_view text, std::string_view s1, std::string_view s2,
                                 std::string_view s3, std::string_view s4) {
    const std::string_view values[] = {s1, s2, s3, s4};
    constexpr std::size_t kLength = 4;  // "%s1%"
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::string_view rest = text.substr(at);
        const bool placeholder = rest.size() >= kLength && rest[0] == '%' &&
                                 (rest[1] == 's' || rest[1] == 'S') && rest[2] >= '1' &&
                                 rest[2] <= '4' && rest[3] == '%';
        const std::string_view value =
            placeholder ? values[static_cast<std::size_t>(rest[2] - '1')] : std::string_view{};
        if (!value.empty()) {
            out += value;
            at += kLength;
        } else {
            out += text[at++];
        }
    }
    return out;
}

std::string ConsoleErrorText(std::string_view key, std::string_view s1, std::string_view s2) {
    return CatalogText("Msg", "Error") + ": " +
           FillPlaceholders(CatalogText("Console", key), s1, s2);
}

}  // namespace tarvik
