// The keyword tables between option words and setting numbers.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

enum KeywordTable : int {
    kKwDdsLoad = 0,
    kKwRawLoad = 1,
    kKwFrameLoading = 2,
    kKwToneMapping = 3,
    kKwCompression = 4,
    kKwColorTable = 5,
    kKwColorModel = 6,
    kKwChroma = 7,
    kKwJpgSaveAs = 8,
    kKwRotationType = 9,
    kKwSizeUnit = 10,
    kKwResizeType = 11,
    kKwResizeAlgorithm = 12,
    kKwFrameType = 13,
    kKwWatermarkType = 14,
    kKwFontStyle = 15,
    kKwFontEffect = 16,
    kKwTextAlignment = 17,
    kKwBoundary = 18,
    kKwPosition = 19,
    kKwSizeMode = 20,
    kKwFileTimestamp = 21,
    kKeywordTableCount = 22,
};

// The number of the first keyword equal to the trimmed, upper-cased text;
// 0 when none is. The printing-only tables (frame and watermark type)
// give 0 for every text.
int KeywordValue(int table, std::string_view text);

// The first keyword of the table whose number is value; "" when none.
std::string ValueKeyword(int table, int value);

}  // namespace tarvik
