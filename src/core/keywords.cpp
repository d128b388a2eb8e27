#include "core/keywords.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "core/setting_values.h"
#include "core/text.h"

namespace tarvik {
namespace {

struct Keyword {
    std::string_view word;
    int value;

    template <class E>
    constexpr Keyword(std::string_view w, E named) : word(w), value(Code(named)) {}
};

using KeywordList = std::initializer_list<Keyword>;

// Indexed by KeywordTable; keyword order matters for both directions.
const std::array<KeywordList, kKeywordTableCount> kTables = {{
    {{"AUTO", DdsLoadAs::Auto}, {"BGRA", DdsLoadAs::Bgra}, {"RGBA", DdsLoadAs::Rgba}},
    {{"AUTO", RawLoadAs::Auto},
     {"8", RawLoadAs::Bpp8},
     {"16", RawLoadAs::Bpp16},
     {"24", RawLoadAs::Bpp24},
     {"48HS", RawLoadAs::Bpp48HalfSize},
     {"48", RawLoadAs::Bpp48}},
    {{"ALL", FrameLoading::All},
     {"FIRST", FrameLoading::First},
     {"MIDDLE", FrameLoading::Middle},
     {"LAST", FrameLoading::Last},
     {"RANDOM", FrameLoading::Random}},
    {{"NONE", ToneMapping::None},
     {"LINEAR", ToneMapping::Linear},
     {"AL", ToneMapping::Al},
     {"DRR", ToneMapping::Drr},
     {"GD", ToneMapping::Gd}},
    {{"NONE", BmpCompression::None},
     {"RLE", BmpCompression::Rle},
     {"ZIP", ExrCompression::Zip},
     {"PIZ", ExrCompression::Piz},
     {"PXR24", ExrCompression::Pxr24},
     {"B44", ExrCompression::B44},
     {"ZLIB1", PngCompression::Zlib1},
     {"ZLIB6", PngCompression::Zlib6},
     {"ZLIB9", PngCompression::Zlib9},
     {"CCITTFAX3", TiffCompression::CcittFax3},
     {"CCITTFAX4", TiffCompression::CcittFax4},
     {"PACKBITS", TiffCompression::PackBits},
     {"DEFLATE", TiffCompression::Deflate},
     {"ADOBEDEFLATE", TiffCompression::AdobeDeflate},
     {"LZW", TiffCompression::Lzw},
     {"JPEG", TiffCompression::Jpeg},
     {"LOGLUV", TiffCompression::LogLuv}},
    {{"AUTO", ColorTable::Auto}, {"EXACT", ColorTable::Exact}},
    {{"RGB", ColorModel::Rgb}, {"CMYK", ColorModel::Cmyk}, {"LAB", ColorModel::Lab}},
    {{"NONE", JpgChroma::None},
     {"LOW", JpgChroma::Low},
     {"MEDIUM", JpgChroma::Medium},
     {"HIGH", JpgChroma::High}},
    {{"STANDARD", JpgSaveAs::Standard},
     {"SIMPLE", JpgSaveAs::Simple},
     {"OPTIMIZED", JpgSaveAs::Optimized},
     {"PROGRESSIVE", JpgSaveAs::Progressive}},
    {{"SIMPLE", RotationType::Simple}, {"ADVANCED", RotationType::Advanced}},
    {{"PIXELS", SizeUnit::Pixels}, {"PERCENT", SizeUnit::Percent}},
    {{"ALLIMAGES", ResizeType::AllImages}, {"LARGEIMAGES", ResizeType::LargeImages}},
    {{"BOX", ResizeAlgorithm::Box},
     {"BILINEAR", ResizeAlgorithm::Bilinear},
     {"BSPLINE", ResizeAlgorithm::BSpline},
     {"BICUBIC", ResizeAlgorithm::Bicubic},
     {"CATMULLROM", ResizeAlgorithm::CatmullRom},
     {"LANCZOS", ResizeAlgorithm::Lanczos}},
    {{"NONE", FrameType::None}, {"SOLID", FrameType::Solid}},
    {{"NONE", WatermarkType::None}, {"TEXT", WatermarkType::Text}, {"IMAGE", WatermarkType::Image}},
    {{"REGULAR", FontStyle::Regular},
     {"BOLD", FontStyle::Bold},
     {"ITALIC", FontStyle::Italic},
     {"BOLDITALIC", FontStyle::BoldItalic}},
    {{"NONE", FontEffect::None},
     {"UNDERLINE", FontEffect::Underline},
     {"STRIKETHROUGHT", FontEffect::StrikeThrough}},
    {{"LEFT", TextAlignment::Left},
     {"CENTER", TextAlignment::Center},
     {"RIGHT", TextAlignment::Right}},
    {{"IMAGE", Boundary::Image}, {"FRAME", Boundary::Frame}},
    {{"TOPLEFT", Position::TopLeft},
     {"TOPCENTER", Position::TopCenter},
     {"TOPRIGHT", Position::TopRight},
     {"MIDDLELEFT", Position::MiddleLeft},
     {"MIDDLECENTER", Position::MiddleCenter},
     {"MIDDLERIGHT", Position::MiddleRight},
     {"BOTTOMLEFT", Position::BottomLeft},
     {"BOTTOMCENTER", Position::BottomCenter},
     {"BOTTOMRIGHT", Position::BottomRight}},
    {{"FIXED", SizeMode::Fixed}},
    {{"CURRENT", FileTimestamp::Current},
     {"ORIGINAL", FileTimestamp::Original},
     {"CUSTOM", FileTimestamp::Custom}},
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
    for (const Keyword& k : kTables[static_cast<std::size_t>(table)]) {
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
    for (const Keyword& k : kTables[static_cast<std::size_t>(table)]) {
        if (k.value == value) {
            return std::string(k.word);
        }
    }
    return {};
}

}  // namespace tarvik
