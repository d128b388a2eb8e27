#include "core/keywords.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "core/text.h"

namespace tarvik {
namespace {

struct Keyword {
    std::string_view word;
    int value;
};

using KeywordList = std::initializer_list<Keyword>;

// Indexed by KeywordTable; keyword order matters for both directions.
const std::array<KeywordList, kKeywordTableCount> kTables = {{
    {{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}},
    {{"AUTO", 0}, {"8", 1}, {"16", 2}, {"24", 3}, {"48HS", 4}, {"48", 5}},
    {{"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}},
    {{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}},
    {{"NONE", 0},
     {"RLE", 1},
     {"ZIP", 1},
     {"PIZ", 2},
     {"PXR24", 3},
     {"B44", 4},
     {"ZLIB1", 1},
     {"ZLIB6", 2},
     {"ZLIB9", 3},
     {"CCITTFAX3", 1},
     {"CCITTFAX4", 2},
     {"PACKBITS", 3},
     {"DEFLATE", 4},
     {"ADOBEDEFLATE", 5},
     {"LZW", 6},
     {"JPEG", 7},
     {"LOGLUV", 8}},
    {{"AUTO", 0}, {"EXACT", 1}},
    {{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}},
    {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}},
    {{"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}},
    {{"SIMPLE", 0}, {"ADVANCED", 1}},
    {{"PIXELS", 0}, {"PERCENT", 1}},
    {{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}},
    {{"BOX", 0},
     {"BILINEAR", 1},
     {"BSPLINE", 2},
     {"BICUBIC", 3},
     {"CATMULLROM", 4},
     {"LANCZOS", 5}},
    {{"NONE", 0}, {"SOLID", 1}},
    {{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}},
    {{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}},
    {{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}},
    {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}},
    {{"IMAGE", 0}, {"FRAME", 1}},
    {{"TOPLEFT", 0},
     {"TOPCENTER", 1},
     {"TOPRIGHT", 2},
     {"MIDDLELEFT", 3},
     {"MIDDLECENTER", 4},
     {"MIDDLERIGHT", 5},
     {"BOTTOMLEFT", 6},
     {"BOTTOMCENTER", 7},
     {"BOTTOMRIGHT", 8}},
    {{"FIXED", 0}},
    {{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}},
}};

bool IsPrintingOnly(int table) {
    return table == kKwFrameType || table == kKwWatermarkType;
}

}  // namespace

int KeywordValue(int table, std::string_view text) {
    if (table < 0 || table >= kKeywordTableCount || IsPrintingOnly(table)) {
        return 0;
    }
    const std::string word = UpperAscii(Trim(text));
    for (const Keyword& k : kTables[table]) {
        if (k.word == word) {
            return k.value;
        }
    }
    return 0;
}

std::string ValueKeyword(int table, int value) {
    if (table < 0 || table >= kKeywordTableCount) {
        return {};
    }
    for (const Keyword& k : kTables[table]) {
        if (k.value == value) {
            return std::string(k.word);
        }
    }
    return {};
}

}  // namespace tarvik
